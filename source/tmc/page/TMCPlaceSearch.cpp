#include "tmc/page/TMCPlaceSearch.h"

#include "tmc/TMCReferenceLists.h"
#include "tmc/page/TMCListLoader.h"
#include "tmc/page/TMCLocModel.h"
#include "ui_TMCPlacesUI.h"

#include <QDebug>

TMCPlaceSearch::TMCPlaceSearch(QWidget* parent) : QWidget(parent), ui(new Ui::TMCPlacesUI)
{
    ui->setupUi(this);
    model = new TMCLocModel(this);
    model->setHeader(TMCListLoader::locationHeader());
    ui->list->setModel(model);
    ui->list->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    ui->list->horizontalHeader()->setStretchLastSection(true);
    connect(ui->search, &QPushButton::clicked, this, &TMCPlaceSearch::findPlaces);
    connect(ui->text, &QLineEdit::returnPressed, this, &TMCPlaceSearch::findPlaces);
}

TMCPlaceSearch::~TMCPlaceSearch()
{
    delete ui;
    qDebug() << "~TMC places";
}

void TMCPlaceSearch::findPlaces()
{
    model->find(ui->text->text().toUtf8(), TMCReferenceLists::instance().locations);
    const int found = model->rowCount();
    const QString title = windowTitle();
    const QString count = found > TMCLocModel::kMaxRows - 1 ? QStringLiteral(" (>9999)")
                                                            : QStringLiteral(" (%1)").arg(found);
    setWindowTitle(title.left(title.indexOf(QStringLiteral(" ("))) + count);
    ui->list->resizeColumnsToContents();
}
