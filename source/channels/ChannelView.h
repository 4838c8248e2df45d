#pragma once

#include <QWidget>

class FMBoard;
class FMUnlock;

// The tile of one board on the channel page. It holds the board's 24
// channel strips, tells the state of the board's connection by its colour
// and asks the take-over question when another host holds the board.
class ChannelView : public QWidget
{
    Q_OBJECT
public:
    enum State
    {
        Unknown = 0,
        Offline = 1,
        Asked = 2,
        Online = 3,
    };

    explicit ChannelView(int board, QWidget* parent = nullptr);
    ~ChannelView() override;

    int board() const { return number; }
    int state() const { return shownState; }
    void setState(int state);
    // Shows the take-over question with who holds the board; the answer
    // goes straight to the board thread.
    void askUnlock(FMBoard* board);

private:
    const int number;
    int shownState = Unknown;
    QColor base;
    FMUnlock* question = nullptr;
};
