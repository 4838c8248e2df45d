#pragma once

#include "settings/AFEntry.h"

#include <QTableWidget>

// The manual AF list of an RDS source: column 0 tells whether a row is
// regional or heads a method-B list, column 1 holds the frequency.
class AFTable : public QTableWidget
{
    Q_OBJECT
public:
    explicit AFTable(QWidget* parent = nullptr);
    ~AFTable() override;

    // Renders row from entry; missing items are created.
    void fill(int row, const AFEntry& entry);
    // Appends a rendered row; a row without a frequency becomes current and
    // opens its editor, so the user types the frequency straight away.
    void append(const AFEntry& entry);
    // Reads a row back: the frequency with the list-head tag, not regional.
    AFEntry entry(int row) const;

    static QString frequencyText(qint32 frequency);
};
