#pragma once

#include <QTableView>

class QMenu;
class TMCEventSearch;
class TMCMsgModel;
class TMCPlaceSearch;

// The message table of the TMC page, with its context menu and the two
// search windows whose code cells can be dragged onto it.
class TMCTable : public QTableView
{
    Q_OBJECT
public:
    explicit TMCTable(QWidget* parent = nullptr);
    ~TMCTable() override;

    TMCMsgModel* messageModel() const { return msgModel; }
    TMCEventSearch* eventSearch() const { return events; }
    TMCPlaceSearch* placeSearch() const { return places; }
    QMenu* menu() const { return contextMenu; }

public slots:
    void findEvent();
    void findPlace();
    void doubleClicked(const QModelIndex& index);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool haveLists() const;

    QMenu* contextMenu = nullptr;
    TMCMsgModel* msgModel = nullptr;
    TMCEventSearch* events = nullptr;
    TMCPlaceSearch* places = nullptr;
};
