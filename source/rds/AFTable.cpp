#include "rds/AFTable.h"

#include "gui/StatusColours.h"
#include "rds/AFEdit.h"
#include "rds/AFValid.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kRegionalColumn = 0;
constexpr int kFrequencyColumn = 1;
constexpr qint32 kKilohertzFrom = 1500; // tenths below: MHz, from here: kHz
constexpr double kLargest = 1e6;

// The item at (row, column), made when the cell has none yet; a new item
// goes into the table once it is complete.
QTableWidgetItem* itemOf(const QTableWidget* table, int row, int column, bool& made)
{
    QTableWidgetItem* item = table->item(row, column);
    made = item == nullptr;
    return made ? new QTableWidgetItem : item;
}

} // namespace

AFTable::AFTable(QWidget* parent) : QTableWidget(parent)
{
    setItemDelegateForColumn(kFrequencyColumn, new AFEdit(this));
}

AFTable::~AFTable()
{
    qDebug() << "~AF table";
}

QString AFTable::frequencyText(qint32 frequency)
{
    if (frequency == 0)
        return {};
    if (frequency < kKilohertzFrom)
        return tr("%1 MHz").arg(frequency / 10.0, 0, 'f', 1);
    return tr("%1 kHz").arg(frequency / 10.0);
}

void AFTable::fill(int row, const AFEntry& entry)
{
    bool newRegional = false;
    bool newFrequency = false;
    QTableWidgetItem* regional = itemOf(this, row, kRegionalColumn, newRegional);
    QTableWidgetItem* frequency = itemOf(this, row, kFrequencyColumn, newFrequency);
    regional->setFlags(Qt::ItemIsEnabled);
    frequency->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled);

    if (entry.marker == AFEntry::kNegativeMarker) {
        regional->setText(tr("Start"));
        regional->setBackground(statusYellow);
        frequency->setBackground(QBrush());
    } else {
        regional->setText(entry.regional ? tr("ja") : tr("nein"));
        // A row that headed a list before keeps no yellow behind.
        regional->setBackground(QBrush());
        if (entry.regional)
            frequency->setBackground(statusBlue);
        else if (entry.freq >= kKilohertzFrom)
            frequency->setBackground(statusGreen);
        else
            frequency->setBackground(regional->background());
    }
    frequency->setText(frequencyText(entry.freq));

    if (newRegional)
        setItem(row, kRegionalColumn, regional);
    if (newFrequency)
        setItem(row, kFrequencyColumn, frequency);
}

void AFTable::append(const AFEntry& entry)
{
    const int row = rowCount();
    insertRow(row);
    fill(row, entry);
    if (entry.freq != 0)
        return;
    setCurrentCell(row, kFrequencyColumn);
    scrollToItem(item(row, kFrequencyColumn));
    editItem(item(row, kFrequencyColumn));
}

AFEntry AFTable::entry(int row) const
{
    const QTableWidgetItem* regional = item(row, kRegionalColumn);
    const QTableWidgetItem* frequency = item(row, kFrequencyColumn);
    const double value =
        frequency ? AFValid::toNumber(frequency->text().section(QLatin1Char(' '), 0, 0)) : 0.0;
    // Half away from zero; the editor's five characters keep the value far
    // below the bound, which only guards against text set otherwise.
    const long tenths = std::lround(std::clamp(value, -kLargest, kLargest) * 10.0);
    AFEntry result;
    result.freq = qint32(std::labs(tenths));
    const bool head = (regional && regional->text().startsWith(tr("Start"))) || tenths < 0;
    result.marker = head ? AFEntry::kNegativeMarker : 0;
    return result;
}
