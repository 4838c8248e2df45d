#pragma once

#include <QItemDelegate>

// Edits the frequency column of the manual AF table: a short line edit that
// accepts only frequencies an AF list can carry.
class AFEdit : public QItemDelegate
{
    Q_OBJECT
public:
    explicit AFEdit(QObject* parent = nullptr);
    ~AFEdit() override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
};
