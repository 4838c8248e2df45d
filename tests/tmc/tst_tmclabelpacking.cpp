// The label table marks red exactly the labels the encoder leaves out of a
// message's groups: the groups the encoder sends, read back by the
// independent decoder, hold the packing of the other labels.
#include "RdsTestDecoder.h"
#include "board/RdsEncoder.h"
#include "tmc/page/TMCLblModel.h"

#include <QBrush>
#include <QTest>

namespace {

constexpr int kOnly = 60;        // groups per minute of group 8A alone
constexpr int kTuningGroups = 2; // provider name before the messages

QList<quint32> sentFreeBits(const QList<quint32>& labels)
{
    RDSSource s;
    s.pi = 0xD311;
    s.gmin = {};
    s.gmin[8].on = 1;
    s.gmin[8].rate[0] = kOnly;
    s.mode = 0x01;
    RdsEncoder encoder;
    encoder.setSource(s, 95.8);
    TMCMessage m;
    m.event = 1;
    m.location = 2;
    m.send = TMCMessage::Yes;
    m.labels = labels;
    TMCSource tmc;
    tmc.used = 1;
    tmc.rpt = 1;
    tmc.messages = {m};
    encoder.setTMCSource(tmc);
    RdsTestDecoder decoder;
    const int groups = kTuningGroups + 1 + TMCLblModel::kMaxGroups;
    for (int i = 0; i < groups; ++i) {
        quint8 out[13];
        encoder.generate(out);
        decoder.add(out);
    }
    QList<quint32> words;
    for (int i = kTuningGroups + 1; i < decoder.all.size(); ++i) {
        const auto group = RdsTestDecoder::tmcGroup(decoder.all.at(i));
        if (group.tuning || group.first || group.single)
            break;
        words.append(group.freeBits);
        if (group.sequence == 0)
            break;
    }
    return words;
}

quint32 label(int number, int value)
{
    return TMCLblModel::makeLabel(number, quint32(value));
}

} // namespace

class TestTmcLabelPacking : public QObject
{
    Q_OBJECT
private slots:
    void redRowsAreThoseLeftOut_data()
    {
        QTest::addColumn<QList<quint32>>("labels");
        QTest::addColumn<int>("firstRed"); // -1: none
        QTest::newRow("twelve speed limits, 108 bits") << QList<quint32>(12, label(3, 4)) << -1;
        QTest::newRow("six destinations, the sixth ends at 120 bits")
            << QList<quint32>(6, label(11, 1000)) << 5;
        QTest::newRow("a small label after the first left out")
            << QList<quint32>{label(11, 1), label(11, 2), label(11, 3), label(11, 4),
                              label(11, 5), label(3, 7),  label(11, 6), label(14, 0)}
            << 6;
        QTest::newRow("exactly 112 bits, then one more")
            << QList<quint32>{label(11, 1), label(11, 2), label(11, 3), label(11, 4), label(9, 401),
                              label(3, 1),  label(14, 0), label(14, 0), label(3, 2)}
            << 8;
    }
    void redRowsAreThoseLeftOut()
    {
        QFETCH(QList<quint32>, labels);
        QFETCH(int, firstRed);
        TMCLblModel model;
        model.setLabels(labels, 1);
        for (int row = 0; row < labels.size(); ++row) {
            const QVariant background = model.index(row, 1).data(Qt::BackgroundRole);
            const bool red = background.value<QBrush>().color() == QColor(Qt::red);
            QCOMPARE(red, firstRed >= 0 && row >= firstRed);
        }
        const int sent = firstRed < 0 ? int(labels.size()) : firstRed;
        TMCLblModel fitting;
        fitting.setLabels(labels.mid(0, sent), 1);
        QCOMPARE(sentFreeBits(labels), fitting.groups());
    }
};

QTEST_MAIN(TestTmcLabelPacking)
#include "tst_tmclabelpacking.moc"
