#pragma once

#include <QTableView>

class DynModel;

// Event list editor of the timeline, for now a placeholder table: editing
// the timed events comes with the timeline.
class DynEdit : public QTableView
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
};
