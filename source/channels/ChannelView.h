#pragma once

#include <QFrame>

class FMBoard;

// Board tile, for now a placeholder: the tile coloured by its board's state
// comes with the channel page. It holds the board's 24 channel strips and
// asks the take-over question for a board that another host holds.
class ChannelView : public QFrame
{
    Q_OBJECT
public:
    explicit ChannelView(int board, QWidget* parent = nullptr);

    int board() const { return number; }
    int state() const { return shownState; }
    void setState(int state);
    // Asks whether to take over the board from the host that holds it and
    // hands the answer to the board thread.
    void askUnlock(FMBoard* board);

private:
    const int number;
    int shownState = 0;
};
