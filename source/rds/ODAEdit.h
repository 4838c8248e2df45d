#pragma once

#include <QItemDelegate>

// Editors of the ODA table: hexadecimal words, check words with "auto", and
// groups per minute.
class ODAEdit : public QItemDelegate
{
    Q_OBJECT
public:
    explicit ODAEdit(QObject* parent = nullptr);
    ~ODAEdit() override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};
