#pragma once

#include "rds/RdsChannelState.h"

#include <QAbstractTableModel>
#include <QSet>

#include <array>

// The RDS monitor: checks every group the channels send the receiver's way,
// keeps per-channel statistics of the group types (the model of the
// statistics table) and turns a group into one line of text.
class RDSDecoder : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int kChannels = 96;
    static constexpr int kColumns = 4;
    // Group code of 8A, the TMC group, as an ODA announcement names it.
    static constexpr int kCode8AApplication = 16;

    explicit RDSDecoder(QObject* parent = nullptr);
    ~RDSDecoder() override;

    // False for a record that is not 17 bytes, a channel outside 1-96 (both
    // change nothing) and a group whose type the log filter leaves out.
    bool addGroup(int channel, const QByteArray& record);
    RdsChannelState group(int channel) const;
    void reset(int channel);
    // Every channel's statistics, as for a newly opened project.
    void resetAll();
    void decodeGroup(const RdsChannelState& state, QString& line);
    void decodeTMC(quint32 bits, QString& line);
    // An AF frequency (100 kHz FM, 100 Hz LF/MF) as the monitor writes it:
    // MHz or kHz in the shortest general notation, "87.6", "153".
    static QString frequencyText(int tenths);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

public slots:
    void setLog(int channel);

private:
    static int clampChannel(int channel);
    static QTime timeOfRecord(const QByteArray& record);
    static quint8 checkBlocks(const RdsGroup& group);
    void count(int channel, int code);
    QString cellText(int key, int column) const;

    void appendAfPart(quint16 c, QString& line) const;
    void appendOdaAnnouncement(quint16 b, quint16 c, quint16 d, QString& line);
    void appendTmcAnnouncement(quint16 c, QString& line);
    void appendClockTime(quint16 b, quint16 c, quint16 d, QString& line) const;
    void appendTmcGroup(quint16 b, quint16 c, quint16 d, QString& line);

    std::array<RdsChannelState, kChannels + 1> states;
    int shownChannel = 0;
    QSet<int> logFilter;
    bool tmcMode = false;
    int tmcSpacing = 0;
    int tmcBitCount = 0;
    int tmcLastSequence = 0;
    quint64 tmcAccumulator = 0;
};
