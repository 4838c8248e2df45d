#include "tmc/page/TMCEdit.h"

#include "tmc/page/TMCMsgModel.h"

#include <QDebug>
#include <QSpinBox>

namespace {

constexpr int kMaxSend = 2;
constexpr int kMaxEvent = 2047;
constexpr int kMaxLocation = 65535;

} // namespace

TMCEdit::TMCEdit(QObject* parent) : QItemDelegate(parent) {}

TMCEdit::~TMCEdit()
{
    qDebug() << "~TMC edit";
}

QWidget* TMCEdit::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                               const QModelIndex& index) const
{
    auto* box = new QSpinBox(parent);
    switch (index.column()) {
    case TMCMsgModel::SendColumn:
        box->setRange(0, kMaxSend);
        break;
    case TMCMsgModel::EventColumn:
        box->setRange(0, kMaxEvent);
        break;
    case TMCMsgModel::LocationColumn:
        box->setRange(0, kMaxLocation);
        break;
    default:
        break;
    }
    return box;
}

void TMCEdit::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* box = qobject_cast<QSpinBox*>(editor))
        box->setValue(index.data(Qt::DisplayRole).toInt());
}
