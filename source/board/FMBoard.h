#pragma once

#include "board/BoardIP.h"
#include "board/BoardInfo.h"
#include "board/BoardLink.h"

#include <QMutex>
#include <QThread>
#include <QWaitCondition>

#include <array>
#include <memory>

class FMSettings;

// The protocol thread of one board. The datagram exchange itself is the
// BoardLink the thread creates; the connection state machine and the stream
// pump run on its status and fill ticks.
class FMBoard : public QThread
{
    Q_OBJECT
public:
    static constexpr int kSlots = BoardLink::kSlots;

    // Starts the thread and returns once its event loop is about to run.
    FMBoard(int board, unsigned rdsDataPort, unsigned osciMHz);
    // The owner ends the thread first: quit(), then wait().
    ~FMBoard() override;

    int boardIndex() const { return index; }
    void setConfig(std::shared_ptr<FMSettings> settings);

    // --- used by the programme engines, in the board thread
    int sendPacket(QByteArray& datagram);
    int sendRaw(const char* data, int length);
    int sendRDS(int slot, const std::array<const uchar*, 4>& streams, int length, quint8 mask);
    bool configBand(bool onAir);
    BoardLink* link() const { return boardLink; }

signals:
    void online(const BoardIP& address, int board);
    void offline(const BoardIP& address, int board);
    void onair(bool on, int board);
    void boardInfo(const BoardInfo& info, int board);
    void userUnlock(int board);

protected:
    void run() override;

private:
    int index;
    unsigned rdsPort;
    unsigned osci;
    QMutex mutex;
    QWaitCondition started;
    bool running = false;
    std::shared_ptr<FMSettings> store;
    BoardLink* boardLink = nullptr; // exists while run() runs
    int band = 0;
    int attenuation = 0;
};
