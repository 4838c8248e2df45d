#pragma once

#include <QWidget>

namespace Ui {
class TMCEventsUI;
}
class TMCEvtModel;

// Free-standing window that searches the TMC event list; the code cell of a
// result row can be dragged onto the message table.
class TMCEventSearch : public QWidget
{
    Q_OBJECT
public:
    explicit TMCEventSearch(QWidget* parent = nullptr);
    ~TMCEventSearch() override;

    TMCEvtModel* resultModel() const { return model; }

public slots:
    void findEvents();

private:
    Ui::TMCEventsUI* ui;
    TMCEvtModel* model;
};
