#pragma once

#include "board/BoardIP.h"

#include <QDialog>
#include <QList>

#include <array>
#include <memory>

class FMConnectModel;
class FMDiscover;
class QModelIndex;
class QTableView;

namespace Ui {
class ConnectUI;
}

// Chooses the boards the program drives: one list of stored, discovered and
// hand-added boards, shown once per screen position; a double-click on a
// "#Box" cell puts that board at the position. "&Verbinden" hands the
// choice on through connectTo; closing otherwise drops every edit.
class FMConnect : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kPositions = 4;
    // Boards added by hand stop once the list holds this many.
    static constexpr int kMostBoards = 5;
    static constexpr int kSelectTipMs = 200;
    static constexpr int kRefusedTipMs = 400;

    // Tests hand in a discoverer aimed at the board emulator; the dialog
    // takes it over.
    FMConnect(int count, const QList<BoardIP>& boards, QWidget* parent = nullptr,
              FMDiscover* discover = nullptr);
    ~FMConnect() override;

    FMConnectModel* model(int position) const { return models[position]; }
    QList<BoardIP> boardList() const { return boards; }

signals:
    void connectTo(int count, const QList<BoardIP>& boards);

public slots:
    void numbers(int count);
    void found(const BoardIP& board);
    void addBox();
    void selectN(const QModelIndex& index, int position);
    void select1(const QModelIndex& index);
    void select2(const QModelIndex& index);
    void select3(const QModelIndex& index);
    void select4(const QModelIndex& index);
    void rowChanged(int row);
    void notPossible();
    void showTip();
    void accept() override;
    void online(const BoardIP& board, int number);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool merge(const BoardIP& board);
    void refreshAll();
    static void fitColumns(QTableView* table);
    void showTipAtCurrent(const QString& text);
    QTableView* view(int position) const;

    std::unique_ptr<Ui::ConnectUI> ui;
    FMDiscover* discoverer;
    QList<BoardIP> boards;
    QList<BoardIP> answered;
    std::array<FMConnectModel*, kPositions> models{};
    int current = 0;
};
