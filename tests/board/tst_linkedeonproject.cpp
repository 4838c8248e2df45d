// A 96-channel project with linked EON rows opened in a real store as the
// main window opens one: the file stays as it was, nothing counts as
// edited, and the encoders send the rows' AF lists of the current plan.
#include "LinkedEonProject.h"
#include "RdsTestDecoder.h"
#include "board/AfCodeList.h"
#include "board/RdsEncoder.h"
#include "settings/FMSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

// The FM frequencies (x10) that group 14A carries for the other network
// with the given PI, read from the AF words (method A) as a receiver does.
QList<int> eonFrequencies(RdsEncoder& encoder, quint16 pi, int groups)
{
    RdsTestDecoder decoder;
    for (int i = 0; i < groups; ++i) {
        quint8 out[13];
        encoder.generate(out);
        decoder.add(out);
    }
    QList<int> found;
    for (quint16 word : decoder.eon.value(pi).afWords) {
        for (const int code : {word >> 8, word & 0xFF}) {
            const int tenths = AfCodeList::afFrequency(quint8(code), false);
            if (tenths != 0 && !found.contains(tenths))
                found.append(tenths);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

class TestLinkedEonProject : public QObject
{
    Q_OBJECT
private slots:
    void openingChangesNothingAndSendsTheDerivedLists_data()
    {
        QTest::addColumn<int>("boards");
        QTest::newRow("all four boards in the plan") << 4;
        // The linked channels are then outside the plan: the lists must
        // still hold their own frequencies.
        QTest::newRow("one board in the plan") << 1;
    }
    void openingChangesNothingAndSendsTheDerivedLists()
    {
        QFETCH(int, boards);
        using namespace LinkedEonProject;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("default.fm"));
        {
            QSettings file(path, QSettings::IniFormat);
            for (const auto& [key, value] : keys())
                file.setValue(key, value);
        }
        const QByteArray before = LinkedEonProject::contents(path);

        auto store = std::make_unique<FMSettings>(path);
        // What the main window does with a project it opens.
        store->setModulatorCount(boards);
        store->updateAllDistances(); // the same count as a new store's enters nothing
        store->updateAutoAF(true);
        store->publishDistances();
        QCoreApplication::sendPostedEvents();

        for (int s = 1; s <= kSources; ++s) {
            const int linked = linkedChannel(s);
            QList<int> expected = planFrequencies(sourceOf(linked), boards);
            if (!expected.contains(tenthsOf(linked)))
                expected.prepend(tenthsOf(linked));
            const RDSSource held = store->rdsSource(s);
            QCOMPARE(held.eon.size(), 1);
            QList<int> derived;
            for (const AFEntry& entry : held.eon[0].af)
                derived.append(entry.freq);
            QCOMPARE(derived, expected);

            // The encoder takes the source as the board thread does.
            RDSSource sent = held;
            sent.gmin = {};
            sent.gmin[14].on = 1;
            sent.gmin[14].rate[0] = 60;
            sent.mode = 1;
            RdsEncoder encoder;
            encoder.setSource(sent, tenthsOf(s) / 10.0);
            std::sort(expected.begin(), expected.end());
            QCOMPARE(eonFrequencies(encoder, piOf(sourceOf(linked)), 400), expected);
        }

        QVERIFY(!store->isDirty());
        QVERIFY(store->writeNow());
        store.reset();
        QCOMPARE(LinkedEonProject::withoutRunTimeKeys(LinkedEonProject::contents(path)), before);
    }
};

QTEST_GUILESS_MAIN(TestLinkedEonProject)
#include "tst_linkedeonproject.moc"
