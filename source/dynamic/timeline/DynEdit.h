#pragma once

#include <QItemSelection>
#include <QWidget>

class DynModel;
class QMenu;

namespace Ui {
class DynEdit;
}

// The event list beside the timeline: times and commands edited in place,
// copies of events inserted, rows deleted. It follows the model's shared
// selection and hands the user's clicks back to it.
class DynEdit : public QWidget
{
    Q_OBJECT
public:
    explicit DynEdit(QWidget* parent = nullptr);
    ~DynEdit() override;

    void setModel(DynModel* model);

public slots:
    void onSelClear();
    void onSelInsert(int row);
    void onSelRemove(int row);
    void onAdd();
    void onDel();
    void onSelect(const QItemSelection& selected, const QItemSelection& deselected);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void selectRow(int row, bool on);

    Ui::DynEdit* ui;
    DynModel* events = nullptr;
    QMenu* menu;
};
