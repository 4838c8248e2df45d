#pragma once

#include <QItemDelegate>

// Spin-box editor of the message table, limited to each column's range.
class TMCEdit : public QItemDelegate
{
    Q_OBJECT
public:
    explicit TMCEdit(QObject* parent = nullptr);
    ~TMCEdit() override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
};
