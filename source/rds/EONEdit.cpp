#include "rds/EONEdit.h"

#include "rds/EONModel.h"
#include "rds/EONValid.h"

#include <QDebug>
#include <QLineEdit>
#include <QSpinBox>

namespace {

constexpr int kLastChannel = 24;
constexpr int kLastPty = 31;
constexpr int kPsLength = 8;

QSpinBox* plainSpinBox(QWidget* parent, int maximum)
{
    auto* box = new QSpinBox(parent);
    box->setRange(0, maximum);
    box->setButtonSymbols(QAbstractSpinBox::NoButtons);
    return box;
}

} // namespace

EONEdit::EONEdit(QObject* parent) : QItemDelegate(parent) {}

EONEdit::~EONEdit()
{
    qDebug() << "~EON edit";
}

QWidget* EONEdit::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    switch (index.column()) {
    case EONModel::ChannelColumn: {
        QSpinBox* box = plainSpinBox(parent, kLastChannel);
        box->setSpecialValueText(tr("kein"));
        return box;
    }
    case EONModel::PiColumn:
    case EONModel::LinkColumn: {
        auto* edit = new QLineEdit(parent);
        edit->setInputMask(QStringLiteral(">HHHH"));
        return edit;
    }
    case EONModel::PtyColumn:
        return plainSpinBox(parent, kLastPty);
    case EONModel::PsColumn: {
        auto* edit = new QLineEdit(parent);
        edit->setMaxLength(kPsLength);
        return edit;
    }
    case EONModel::AfColumn: {
        auto* edit = new QLineEdit(parent);
        edit->setValidator(new EONValid(edit));
        return edit;
    }
    default:
        return QItemDelegate::createEditor(parent, option, index);
    }
}
