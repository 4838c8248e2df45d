#include "tmc/page/TMCLblEdit.h"

#include "tmc/page/TMCLabelNames.h"

#include <QComboBox>
#include <QDebug>
#include <QSpinBox>

namespace {

constexpr int kVisibleNames = 20;
constexpr int kMaxValue = 65535;

} // namespace

TMCLblEdit::TMCLblEdit(QObject* parent) : QItemDelegate(parent) {}

TMCLblEdit::~TMCLblEdit()
{
    qDebug() << "~TMC label edit";
}

QWidget* TMCLblEdit::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                  const QModelIndex& index) const
{
    if (index.column() == 0) {
        auto* names = new QComboBox(parent);
        for (int number = 0; number < TMCLabelNames::kLabels; ++number)
            names->addItem(TMCLabelNames::label(number));
        names->setMaxVisibleItems(kVisibleNames);
        return names;
    }
    auto* box = new QSpinBox(parent);
    box->setRange(0, kMaxValue);
    return box;
}

void TMCLblEdit::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const int value = index.data(Qt::EditRole).toInt();
    if (auto* names = qobject_cast<QComboBox*>(editor))
        names->setCurrentIndex(value);
    else if (auto* box = qobject_cast<QSpinBox*>(editor))
        box->setValue(value);
}

void TMCLblEdit::setModelData(QWidget* editor, QAbstractItemModel* model,
                              const QModelIndex& index) const
{
    if (auto* names = qobject_cast<QComboBox*>(editor))
        model->setData(index, names->currentIndex(), Qt::EditRole);
    else
        QItemDelegate::setModelData(editor, model, index);
}
