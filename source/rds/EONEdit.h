#pragma once

#include <QItemDelegate>

// Editors of the EON table: spin boxes for channel and programme type,
// masked hexadecimal fields for PI and linkage, a checked AF list.
class EONEdit : public QItemDelegate
{
    Q_OBJECT
public:
    explicit EONEdit(QObject* parent = nullptr);
    ~EONEdit() override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};
