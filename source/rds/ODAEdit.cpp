#include "rds/ODAEdit.h"

#include "rds/HexSpinBox.h"
#include "rds/ODAModel.h"

#include <QDebug>

namespace {

constexpr int kWordMax = 65535;
constexpr int kCheckMax = 1023;     // a check word has 10 bits
constexpr int kCheckAutoValue = -1; // the model stores it as "auto"
// Groups per minute one stream carries: 1187.5 bit/s over 104 bits a group.
constexpr int kRateMax = 685;

} // namespace

ODAEdit::ODAEdit(QObject* parent) : QItemDelegate(parent) {}

ODAEdit::~ODAEdit()
{
    qDebug() << "~ODA edit";
}

QWidget* ODAEdit::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const int column = index.column();
    if (column >= ODAModel::DataA && column < ODAModel::CheckA) {
        auto* box = new HexSpinBox(parent);
        box->setRange(0, kWordMax);
        box->setButtonSymbols(QAbstractSpinBox::NoButtons);
        return box;
    }
    if (column >= ODAModel::CheckA && column < ODAModel::RateS0) {
        auto* box = new HexSpinBox(parent);
        box->setRange(kCheckAutoValue, kCheckMax);
        box->setButtonSymbols(QAbstractSpinBox::NoButtons);
        box->setSpecialValueText(tr("auto"));
        return box;
    }
    if (column >= ODAModel::RateS0 && column < ODAModel::ColumnCount) {
        auto* box = new QSpinBox(parent);
        box->setRange(0, kRateMax);
        return box;
    }
    return QItemDelegate::createEditor(parent, option, index);
}
