#pragma once

#include <QWidget>

namespace Ui {
class TMCPlacesUI;
}
class TMCLocModel;

// Free-standing window that searches the TMC location list; the code cell
// of a result row can be dragged onto the message table.
class TMCPlaceSearch : public QWidget
{
    Q_OBJECT
public:
    explicit TMCPlaceSearch(QWidget* parent = nullptr);
    ~TMCPlaceSearch() override;

    TMCLocModel* resultModel() const { return model; }

public slots:
    void findPlaces();

private:
    Ui::TMCPlacesUI* ui;
    TMCLocModel* model;
};
