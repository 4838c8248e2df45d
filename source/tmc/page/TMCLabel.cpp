#include "tmc/page/TMCLabel.h"

#include "tmc/page/TMCLblEdit.h"
#include "tmc/page/TMCLblModel.h"

#include <QDebug>
#include <QHeaderView>

TMCLabel::TMCLabel(QWidget* parent) : QTableView(parent)
{
    editor = new TMCLblEdit(this);
    setItemDelegate(editor);
    lblModel = new TMCLblModel(this);
    setModel(lblModel);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

TMCLabel::~TMCLabel()
{
    qDebug() << "~TMC label table";
}
