#pragma once

#include <QItemDelegate>

// Editors of the label table: the label name from a list, the value in a
// spin box.
class TMCLblEdit : public QItemDelegate
{
    Q_OBJECT
public:
    explicit TMCLblEdit(QObject* parent = nullptr);
    ~TMCLblEdit() override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
};
