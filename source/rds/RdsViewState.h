#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>

#include <functional>

// What the monitor view of the RDS page has put together from the groups of
// the shown channel: the texts as far as their segments arrived, the RT+
// tags, the decoder-identification bits and the AF lists with the time each
// frequency was last seen.
struct RdsViewState
{
    static constexpr int kPsBytes = 8;
    static constexpr int kPtynBytes = 8;
    static constexpr int kRtBytes = 64;
    static constexpr int kLongPsBytes = 32;
    static constexpr int kErtBytes = 128;
    // An A/B flag that no group has set yet.
    static constexpr quint8 kNoFlag = 2;

    QByteArray ps;
    QByteArray ptyn;
    quint8 ptynFlag = kNoFlag;
    QByteArray rt;
    quint8 rtFlag = kNoFlag;
    int rtSegments = 0;
    int rtLength = 0;
    QByteArray longPs;
    QByteArray ert;
    int ertSegments = 0;
    int ertLength = 0;
    quint16 ertMessage = 0;
    quint16 rtPlusMessage = 0;
    // Content type -> start * 256 + length field.
    QMap<quint8, quint16> rtPlusTags;
    // Bit n: the DI bit sent with segment address n.
    quint8 diBits = 0;
    // List head -> (frequency -> seconds seen, see afClock). Frequencies in
    // 100 kHz (FM) or 100 Hz (LF/MF); negative for a regional pair.
    QMap<int, QMap<int, int>> afLists;
    int afHead = 0;
    QString afText;

    // Seconds since the epoch; replaced by tests so that no test waits for
    // an AF to age out.
    std::function<qint64()> now = [] { return QDateTime::currentSecsSinceEpoch(); };

    RdsViewState() { restart(); }

    // A fresh start on another channel. Segment counts, lengths and the
    // ODA messages stay: they only grow again with the next cycle.
    void restart()
    {
        rtPlusTags.clear();
        afLists.clear();
        afHead = 0;
        afText.clear();
        diBits = 0;
        rtFlag = kNoFlag;
        ptynFlag = kNoFlag;
        ps = QByteArray(kPsBytes, ' ');
        ptyn = QByteArray(kPtynBytes, ' ');
        rt = QByteArray(kRtBytes, ' ');
        longPs = QByteArray(kLongPsBytes, '\0');
        ert = QByteArray(kErtBytes, '\0');
    }

    // The time stamp of an AF entry: seconds counted from late 2019, so
    // they fit an int.
    int afClock() const { return int(now() - kAfEpoch); }

private:
    static constexpr qint64 kAfEpoch = 1569000000;
};
