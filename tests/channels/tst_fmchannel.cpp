// One channel strip on the store of a temporary project: the tool tips of
// its source fields, following the song's sample rate, the popup sliders,
// the channel dialog through the modal seam and the remote RDS mark.
#include "KeyRecorder.h"

#include "channels/FMChannel.h"
#include "channels/Lister.h"
#include "channels/Slider.h"
#include "gui/ModalQuestions.h"
#include "settings/FMSettings.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

using Keys = QList<std::pair<QString, QString>>;
constexpr int kChannel = 5;
constexpr int kWaitMs = 30000;

// A strip of channel 5 on a project holding the given keys (ini form).
class StripKit
{
public:
    explicit StripKit(const Keys& keys)
    {
        const QString file = dir.filePath(QStringLiteral("p.fm"));
        {
            QSettings project(file, QSettings::IniFormat);
            for (const auto& [key, value] : keys)
                project.setValue(key, value);
        }
        store = QSharedPointer<FMSettings>::create(file);
        strip = std::make_unique<FMChannel>(kChannel);
        strip->resize(420, 60);
        strip->show();
        strip->refresh(store);
        settle();
    }

    static void settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    QLabel* field(const char* name) const { return strip->findChild<QLabel*>(QLatin1String(name)); }

    void publish(const QString& key, const QVariant& value)
    {
        store->publish(key, value);
        settle();
    }

    QTemporaryDir dir;
    QSharedPointer<FMSettings> store;
    std::unique_ptr<FMChannel> strip;
};

Keys channelUsing(const Keys& more)
{
    Keys keys{{QStringLiteral("channel.5/used"), QStringLiteral("1")},
              {QStringLiteral("channel.5/freq"), QStringLiteral("95.8")}};
    return keys + more;
}

// One operator step in an open slider and what follows from it: the value
// stored, the text in the value box and the reason the popup gives (empty:
// none, and no red frame).
struct RefusalStep
{
    QString action;
    QString stored;
    QString text;
    QString tip;
};
using RefusalSteps = QList<RefusalStep>;

} // namespace

Q_DECLARE_METATYPE(RefusalStep)

class TestFMChannel : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        ModalQuestions::setUnattended(true);
        ModalQuestions::clear();
    }
    void audioToolTip_data();
    void audioToolTip();
    void rdsToolTip_data();
    void rdsToolTip();
    void logFilesFollowTheSource();
    void automaticAfList();
    void playRate_data();
    void playRate();
    void frequencyText_data();
    void frequencyText();
    void sliderOpensAndClosesOnTheLabel();
    void sliderHidesAfterLosingTheFocus();
    void typingInTheSliderWritesTheKey_data();
    void typingInTheSliderWritesTheKey();
    void frequencySliderWritesOnlyWhatTheOperatorChose_data();
    void frequencySliderWritesOnlyWhatTheOperatorChose();
    void sliderSaysWhyItRefuses_data();
    void sliderSaysWhyItRefuses();
    void choosersWriteTheSource_data();
    void choosersWriteTheSource();
    void configDialogThroughTheSeam();
    void remoteRdsMark();
    void contextMenuEntries_data();
    void contextMenuEntries();
    void unusedSourceIsDropped();
    void playPositionMark();
    void playPositionMarkKeepsItsPlaceWhenTheStripGrows();
    void movingMarkLeavesNoTraceOnScreen();
    void playPositionMarkOutlivesOtherChanges_data();
    void playPositionMarkOutlivesOtherChanges();
    void hiddenStripMarksTheNewestPositionWhenShown();
    void closedChooserKeepsItsColoursWhileTheMarkMoves();
    void playPositionFollowsTheProject_data();
    void playPositionFollowsTheProject();
    void openingLeavesTheProjectClean_data();
    void openingLeavesTheProjectClean();
};

void TestFMChannel::audioToolTip_data()
{
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<QString>("song");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tip");
    const Keys sine{{"channel.5/idaudio", "2"}, {"audio.2/name", "Ton"}, {"audio.2/type", "0"}};
    QTest::newRow("sine") << sine << QString() << "Ton"
                          << "Audio Quelle: Sinus";
    QTest::newRow("ramp") << Keys{{"channel.5/idaudio", "2"},
                                  {"audio.2/name", "R"},
                                  {"audio.2/type", "1"}}
                          << QString() << "R"
                          << "Audio Quelle: Rampe";
    QTest::newRow("file") << Keys{{"channel.5/idaudio", "2"},
                                  {"audio.2/name", "F"},
                                  {"audio.2/type", "2"},
                                  {"audio.2/file", "/music/a.flac"}}
                          << QString() << "F"
                          << "Audio Quelle: Datei\n/music/a.flac";
    QTest::newRow("a playlist in its own case") << Keys{{"channel.5/idaudio", "2"},
                                                        {"audio.2/name", "P"},
                                                        {"audio.2/type", "2"},
                                                        {"audio.2/file", "Playlist.3"},
                                                        {"playlist.3/name", "Rock"}}
                                                << "Artist - Song"
                                                << "P"
                                                << "Audio Quelle: Playlist.3 (Rock)\nArtist - Song";
    QTest::newRow("a playlist without a name") << Keys{{"channel.5/idaudio", "2"},
                                                       {"audio.2/name", "P"},
                                                       {"audio.2/type", "2"},
                                                       {"audio.2/file", "playlist.4"}}
                                               << QString() << "P"
                                               << "Audio Quelle: playlist.4";
    QTest::newRow("no audio") << Keys{} << QString() << "<kein Audio>" << QString();
}

void TestFMChannel::audioToolTip()
{
    QFETCH(Keys, keys);
    QFETCH(QString, song);
    QFETCH(QString, text);
    QFETCH(QString, tip);
    StripKit kit(channelUsing(keys));
    if (!song.isEmpty())
        kit.publish(QStringLiteral("chinfo.5.playing"), song);
    QCOMPARE(kit.field("audio")->text(), text);
    QCOMPARE(kit.field("audio")->toolTip(), tip);
}

void TestFMChannel::rdsToolTip_data()
{
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tip");
    const Keys source{{"channel.5/idrds", "1"}, {"rds.1/name", "Eins"}, {"rds.1/ps", "RADIO 1"}};
    QTest::newRow("name and PS") << source << "Eins"
                                 << "RDS Quelle Nr. 1 [RADIO 1]";
    QTest::newRow("TMC source and bit errors")
        << source + Keys{{"rds.1/tmcsi", "2"},
                         {"tmc.2/name", "Verkehr"},
                         {"rds.1/err", "128"},
                         {"rds.1/ber", "5"}}
        << "Eins"
        << "RDS Quelle Nr. 1 [RADIO 1]\nTMC Quelle: Verkehr\nBitfehlerrate: 5%";
    QTest::newRow("bit error rate without injection is left out")
        << source + Keys{{"rds.1/err", "5"}, {"rds.1/ber", "5"}} << "Eins"
        << "RDS Quelle Nr. 1 [RADIO 1]";
    QTest::newRow("a manual MF entry in kHz")
        << source + Keys{{"rds.1/afu", "1"}, {"rds.1/afs", "958 1530"}} << "Eins"
        << "RDS Quelle Nr. 1 [RADIO 1]\nAF man 95.8 153k";
    QTest::newRow("manual list switched off")
        << source + Keys{{"rds.1/afu", "0"}, {"rds.1/afs", "958 1530"}} << "Eins"
        << "RDS Quelle Nr. 1 [RADIO 1]";
    QTest::newRow("sent from a file")
        << source + Keys{{"rds.1/fused", "true"}, {"rds.1/files", "/logs/morning.rds"},
                         {"rds.1/err", "128"},    {"rds.1/ber", "3"},
                         {"rds.1/afu", "1"},      {"rds.1/afs", "958"}}
        << "morning.rds"
        << "RDS Quelle Nr. 1 [RADIO 1]\naus Datei: /logs/morning.rds\nBitfehlerrate: 3%";
    QTest::newRow("files listed, not played")
        << source +
               Keys{{"rds.1/files", "/logs/morning.rds"}, {"rds.1/afu", "1"}, {"rds.1/afs", "958"}}
        << "Eins"
        << "RDS Quelle Nr. 1 [RADIO 1]\nAF man 95.8";
    QTest::newRow("the encoder's text is no file")
        << source + Keys{{"channel.5/rds", "CH05 TST"}} << "Eins"
        << "RDS Quelle Nr. 1 [RADIO 1]";
    QTest::newRow("no RDS") << Keys{} << "<kein RDS>" << QString();
}

void TestFMChannel::rdsToolTip()
{
    QFETCH(Keys, keys);
    QFETCH(QString, text);
    QFETCH(QString, tip);
    StripKit kit(channelUsing(keys));
    // The engine's text reaches the strip as a change of the channel's key.
    for (const auto& [key, value] : keys)
        if (key == QLatin1String("channel.5/rds"))
            kit.publish(QStringLiteral("channel.5.rds"), value);
    QCOMPARE(kit.field("rds")->text(), text);
    QCOMPARE(kit.field("rds")->toolTip(), tip);
}

// Switching the source's log files on and off shows at once.
void TestFMChannel::logFilesFollowTheSource()
{
    StripKit kit(channelUsing({{"channel.5/idrds", "1"},
                               {"rds.1/name", "Eins"},
                               {"rds.1/ps", "RADIO 1"},
                               {"rds.1/files", "/logs/a.txt"}}));
    QLabel* rds = kit.field("rds");
    QCOMPARE(rds->text(), QStringLiteral("Eins"));
    kit.store->set(QStringLiteral("rds.1.fused"), 1);
    StripKit::settle();
    QCOMPARE(rds->text(), QStringLiteral("a.txt"));
    kit.store->set(QStringLiteral("rds.1.files"), QStringList{"/logs/a.txt", "/logs/b.txt"});
    StripKit::settle();
    QCOMPARE(rds->text(), QStringLiteral("a.txt, b.txt"));
    QCOMPARE(rds->toolTip(),
             QStringLiteral("RDS Quelle Nr. 1 [RADIO 1]\naus Datei: /logs/a.txt, /logs/b.txt"));
    kit.store->set(QStringLiteral("rds.1.fused"), 0);
    StripKit::settle();
    QCOMPARE(rds->text(), QStringLiteral("Eins"));
    QCOMPARE(rds->toolTip(), QStringLiteral("RDS Quelle Nr. 1 [RADIO 1]"));
}

// The automatic list is the store's, built from the used channels on the
// source; the strip shows it in MHz, its own channel first.
void TestFMChannel::automaticAfList()
{
    StripKit kit(channelUsing({{"channel.5/idrds", "1"},
                               {"rds.1/name", "Eins"},
                               {"rds.1/ps", "EINS"},
                               {"rds.1/afu", "2"},
                               {"channel.6/used", "1"},
                               {"channel.6/freq", "100.0"},
                               {"channel.6/idrds", "1"}}));
    FMChannel neighbour(6);
    neighbour.refresh(kit.store);
    kit.store->updateAutoAF(true);
    StripKit::settle();
    QCOMPARE(kit.field("rds")->toolTip(),
             QStringLiteral("RDS Quelle Nr. 1 [EINS]\nAF auto 95.8 100.0 MHz"));
}

void TestFMChannel::playRate_data()
{
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("played");
    QTest::addColumn<int>("stored");
    QTest::newRow("follows a different rate") << true << 44100 << 48000 << 48000;
    QTest::newRow("an equal rate writes nothing") << true << 44100 << 44100 << 44100;
    QTest::newRow("without the flag nothing") << false << 44100 << 32000 << 44100;
    QTest::newRow("rate 0 is no song") << true << 32000 << 0 << 32000;
}

void TestFMChannel::playRate()
{
    QFETCH(bool, automatic);
    QFETCH(int, rate);
    QFETCH(int, played);
    QFETCH(int, stored);
    StripKit kit(channelUsing(
        {{"channel.5/auto", automatic ? "1" : "0"}, {"channel.5/rate", QString::number(rate)}}));
    KeyRecorder recorder;
    kit.store->subscribe(QStringLiteral("channel.5.rate"), &recorder);
    kit.publish(QStringLiteral("chinfo.5.playrate"), played);
    recorder.collect();
    QCOMPARE(kit.store->channel(kChannel).rate, stored);
    QCOMPARE(recorder.count(), stored == rate ? 0 : 1);
}

void TestFMChannel::frequencyText_data()
{
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("shown");
    QTest::newRow("100.0") << "100.0"
                           << "100.00 MHz";
    QTest::newRow("87.555") << "87.555"
                            << "87.555 MHz";
    QTest::newRow("95.8") << "95.8"
                          << "95.80 MHz";
    QTest::newRow("95.805") << "95.805"
                            << "95.805 MHz";
}

void TestFMChannel::frequencyText()
{
    QFETCH(QString, freq);
    QFETCH(QString, shown);
    StripKit kit({{"channel.5/freq", freq}});
    QCOMPARE(kit.field("freq")->text(), shown);
}

void TestFMChannel::sliderOpensAndClosesOnTheLabel()
{
    StripKit kit(channelUsing({}));
    QLabel* freq = kit.field("freq");
    Slider* slider = kit.strip->frequencySlider();
    QTest::mouseClick(freq, Qt::LeftButton);
    QVERIFY(slider->isVisible());
    QCOMPARE(slider->value(), 95.8);
    QCOMPARE(slider->height(), std::max(freq->height(), 33));
    QCOMPARE(slider->width(), 14 * slider->height());
    QTest::mouseClick(freq, Qt::LeftButton);
    QVERIFY(!slider->isVisible());
    QTest::mouseClick(freq, Qt::LeftButton);
    QVERIFY(slider->isVisible());
    // Another field's slider closes the first.
    QTest::mouseClick(kit.field("volm"), Qt::LeftButton);
    QVERIFY(kit.strip->volumeSlider()->isVisible());
}

void TestFMChannel::sliderHidesAfterLosingTheFocus()
{
    StripKit kit(channelUsing({}));
    Slider* slider = kit.strip->gainSlider();
    QTest::mouseClick(kit.field("gain"), Qt::LeftButton);
    QVERIFY(slider->isVisible());
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(slider, &out);
    QTRY_VERIFY_WITH_TIMEOUT(!slider->isVisible(), kWaitMs);
}

void TestFMChannel::typingInTheSliderWritesTheKey_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("frequency") << "freq"
                               << "9 7 . 3 5 Return"
                               << "channel.5.freq"
                               << "97.350";
    QTest::newRow("gain") << "gain"
                          << "1 2 Return"
                          << "channel.5.gain"
                          << "-12";
    QTest::newRow("volume") << "volm"
                            << "7 7 Return"
                            << "channel.5.volm"
                            << "77";
}

void TestFMChannel::typingInTheSliderWritesTheKey()
{
    QFETCH(QString, field);
    QFETCH(QString, keys);
    QFETCH(QString, key);
    QFETCH(QString, value);
    StripKit kit(channelUsing({}));
    QTest::mouseClick(kit.field(qPrintable(field)), Qt::LeftButton);
    QWidget* slider = QApplication::focusWidget();
    for (Slider* s :
         {kit.strip->frequencySlider(), kit.strip->gainSlider(), kit.strip->volumeSlider()})
        if (s->isVisible())
            slider = s;
    for (const QString& k : keys.split(QLatin1Char(' '))) {
        if (k == QLatin1String("Return"))
            QTest::keyClick(slider, Qt::Key_Return);
        else
            QTest::keyClick(slider, k.at(0).toLatin1());
        if (slider->isVisible())
            slider->grab();
    }
    StripKit::settle();
    QCOMPARE(kit.store->get(key).toString(), value);
    QVERIFY(!slider->isVisible());
}

using Steps = QList<std::pair<QString, double>>;

// Each step with the frequency stored after it. "open" and "click" click the
// field (a second click closes the slider), "focus" takes the focus away;
// anything else is a key pressed in the open slider.
void TestFMChannel::frequencySliderWritesOnlyWhatTheOperatorChose_data()
{
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("freq");
    QTest::addColumn<Steps>("steps");
    QTest::newRow("opening outside a narrower band writes nothing")
        << "1"
        << "98.0" << Steps{{"open", 98.0}, {"Esc", 98.0}, {"open", 98.0}, {"click", 98.0}};
    QTest::newRow("typed digits wait for Return")
        << "0"
        << "100.0" << Steps{{"open", 100.0}, {"9", 100.0}, {"9", 100.0}, {"Return", 99.0}};
    QTest::newRow("Escape drops typed digits")
        << "0"
        << "100.0" << Steps{{"open", 100.0}, {"9", 100.0},    {"9", 100.0},
                            {"Esc", 100.0},  {"open", 100.0}, {"Return", 100.0}};
    QTest::newRow("losing the focus drops typed digits")
        << "0"
        << "100.0" << Steps{{"open", 100.0},  {"9", 100.0},    {"9", 100.0},
                            {"focus", 100.0}, {"open", 100.0}, {"Return", 100.0}};
    QTest::newRow("a second click drops typed digits")
        << "0"
        << "100.0" << Steps{{"open", 100.0},  {"9", 100.0},    {"9", 100.0},
                            {"click", 100.0}, {"open", 100.0}, {"Return", 100.0}};
    QTest::newRow("arrow keys write at once, Escape takes them back")
        << "0"
        << "100.0"
        << Steps{{"open", 100.0}, {"Right", 100.001}, {"Right", 100.002}, {"Esc", 100.0}};
    QTest::newRow("an arrow key outside the band lands on its end")
        << "1"
        << "98.0" << Steps{{"open", 98.0}, {"Left", 95.0}};
}

void TestFMChannel::frequencySliderWritesOnlyWhatTheOperatorChose()
{
    QFETCH(QString, band);
    QFETCH(QString, freq);
    QFETCH(Steps, steps);
    StripKit kit({{"board/band", band}, {"channel.5/used", "0"}, {"channel.5/freq", freq}});
    Slider* slider = kit.strip->frequencySlider();
    for (const auto& [step, stored] : steps) {
        if (step == QLatin1String("open") || step == QLatin1String("click")) {
            QTest::mouseClick(kit.field("freq"), Qt::LeftButton);
        } else if (step == QLatin1String("focus")) {
            QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
            QCoreApplication::sendEvent(slider, &out);
            QTRY_VERIFY_WITH_TIMEOUT(!slider->isVisible(), kWaitMs);
        } else if (step == QLatin1String("Esc")) {
            QTest::keyClick(slider, Qt::Key_Escape);
        } else if (step == QLatin1String("Return")) {
            QTest::keyClick(slider, Qt::Key_Return);
        } else if (step == QLatin1String("Right") || step == QLatin1String("Left")) {
            QTest::keyClick(slider, step == QLatin1String("Right") ? Qt::Key_Right : Qt::Key_Left);
        } else {
            QTest::keyClick(slider, step.at(0).toLatin1());
        }
        // Painted as on screen after every step.
        if (slider->isVisible())
            slider->grab();
        StripKit::settle();
        QVERIFY2(qFuzzyCompare(kit.store->get(QStringLiteral("channel.5.freq")).toDouble(), stored),
                 qPrintable(
                     QStringLiteral("after %1: %2")
                         .arg(step, kit.store->get(QStringLiteral("channel.5.freq")).toString())));
    }
}

void TestFMChannel::sliderSaysWhyItRefuses_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<QString>("key");
    QTest::addColumn<RefusalSteps>("steps");
    const QString fm = QStringLiteral("87.500 bis 108.000 MHz");
    QTest::newRow("a frequency digit beyond the band")
        << "freq" << Keys{{"channel.5/freq", "100.0"}} << "channel.5.freq"
        << RefusalSteps{
               {"open", "100", "100.000", ""},
               {"1", "100", "1", ""},
               {"2", "100", "12", ""},
               {"0", "100", "12", "120 MHz liegt außerhalb von " + fm},
               {"Return", "100", "12", "12 MHz liegt außerhalb von " + fm + ": nichts gespeichert"},
               {"BS", "100", "1", ""},
               {"BS", "100", "", ""},
               {"9", "100", "9", ""},
               {"5", "100", "95", ""},
               {"Return", "95", "95", ""}};
    QTest::newRow("Return on a carrier outside a narrower band")
        << "freq" << Keys{{"board/band", "1"}, {"channel.5/freq", "98.0"}} << "channel.5.freq"
        << RefusalSteps{
               {"open", "98", "98.000", ""},
               {"Return", "98", "98.000",
                "98.000 MHz liegt außerhalb von 76.000 bis 95.000 MHz: nichts gespeichert"},
               {"Esc", "98", "98.000", ""}};
    QTest::newRow("a gain digit beyond its end, then a valid one")
        << "gain" << Keys{{"channel.5/gain", "-6"}} << "channel.5.gain"
        << RefusalSteps{{"open", "-6", "-6", ""},
                        {"7", "-6", "-7", ""},
                        {"0", "-6", "-7", "-70 dB liegt außerhalb von -60 bis 0 dB"},
                        {"Right", "-5", "-5", ""},
                        {"Return", "-5", "-5", ""}};
}

void TestFMChannel::sliderSaysWhyItRefuses()
{
    QFETCH(QString, field);
    QFETCH(Keys, keys);
    QFETCH(QString, key);
    QFETCH(RefusalSteps, steps);
    static const QMap<QString, Qt::Key> named{{QStringLiteral("Return"), Qt::Key_Return},
                                              {QStringLiteral("Esc"), Qt::Key_Escape},
                                              {QStringLiteral("BS"), Qt::Key_Backspace},
                                              {QStringLiteral("Right"), Qt::Key_Right}};
    StripKit kit(channelUsing(keys));
    Slider* slider =
        field == QLatin1String("freq") ? kit.strip->frequencySlider() : kit.strip->gainSlider();
    for (const RefusalStep& step : steps) {
        const QString where = QStringLiteral("after %1 (%2)").arg(step.action, slider->text());
        if (step.action == QLatin1String("open"))
            QTest::mouseClick(kit.field(qPrintable(field)), Qt::LeftButton);
        else if (named.contains(step.action))
            QTest::keyClick(slider, named.value(step.action));
        else
            QTest::keyClick(slider, step.action.at(0).toLatin1());
        StripKit::settle();
        QVERIFY2(qFuzzyCompare(1.0 + kit.store->get(key).toDouble(), 1.0 + step.stored.toDouble()),
                 qPrintable(where + QStringLiteral(": stored ") + kit.store->get(key).toString()));
        QCOMPARE(slider->text(), step.text);
        QCOMPARE(slider->toolTip(), step.tip);
        // A refused value keeps the popup open, framed red, so the reason
        // stays where the operator looks.
        const bool closed = step.action == QLatin1String("Esc") ||
                            (step.action == QLatin1String("Return") && step.tip.isEmpty());
        QCOMPARE(slider->isVisible(), !closed);
        if (!closed) {
            const QImage painted = slider->grab().toImage();
            const bool framed =
                painted.pixelColor(1, painted.height() / 2) == QColor(0xC0, 0x30, 0x30);
            QVERIFY2(framed == !step.tip.isEmpty(), qPrintable(where));
        }
    }
}

void TestFMChannel::choosersWriteTheSource_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("key");
    QTest::newRow("audio") << "audio"
                           << "channel.5.idaudio";
    QTest::newRow("rds") << "rds"
                         << "channel.5.idrds";
}

void TestFMChannel::choosersWriteTheSource()
{
    QFETCH(QString, field);
    QFETCH(QString, key);
    StripKit kit(channelUsing({{"audio.1/name", "A1"},
                               {"audio.2/name", "A2"},
                               {"rds.1/name", "R1"},
                               {"rds.2/name", "R2"}}));
    QTest::mouseClick(kit.field(qPrintable(field)), Qt::LeftButton);
    Lister* chooser =
        field == QLatin1String("audio") ? kit.strip->audioChooser() : kit.strip->rdsChooser();
    QVERIFY(chooser->isVisible());
    QCOMPARE(chooser->itemText(0), QStringLiteral("<kein>"));
    QCOMPARE(chooser->currentIndex(), 0);
    chooser->hidePopup();
    chooser->setCurrentIndex(2);
    StripKit::settle();
    QCOMPARE(kit.store->get(key).toInt(), 2);
    QCOMPARE(kit.field(qPrintable(field))->text(),
             field == QLatin1String("audio") ? QStringLiteral("A2") : QStringLiteral("R2"));
    QVERIFY(!chooser->isVisible());
}

// The dialog runs through the seam; its answer is read back into the strip.
void TestFMChannel::configDialogThroughTheSeam()
{
    StripKit kit(channelUsing({}));
    ModalQuestions::setNextDialogAction([](QDialog* dialog) {
        dialog->findChild<QRadioButton*>(QStringLiteral("mono"))->setChecked(true);
        dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))
            ->button(QDialogButtonBox::Ok)
            ->click();
        return dialog->result();
    });
    kit.strip->findChild<QToolButton*>(QStringLiteral("Bconfig"))->click();
    QCOMPARE(ModalQuestions::unanswered(), 0);
    QCOMPARE(kit.store->channel(kChannel).mono, true);
    QCOMPARE(kit.store->channel(kChannel + 1).mono, false);
}

void TestFMChannel::remoteRdsMark()
{
    StripKit kit(channelUsing({{"channel.5/idrds", "1"}, {"rds.1/name", "Eins"}}));
    QLabel* rds = kit.field("rds");
    QTest::ignoreMessage(QtDebugMsg, "Ch05 rds remote");
    kit.publish(QStringLiteral("rdsin.5"), QStringLiteral("10.0.0.9:4711"));
    QCOMPARE(rds->text(), QStringLiteral("Fernzugriff"));
    QCOMPARE(rds->toolTip(), QStringLiteral("Fernzugriff von: 10.0.0.9:4711"));
    QCOMPARE(rds->palette().color(QPalette::Base).rgba(), 0xFFA0A010u);
    // A second sender changes nothing until the remote input ends.
    kit.publish(QStringLiteral("rdsin.5"), QStringLiteral("10.0.0.10:1"));
    QCOMPARE(rds->toolTip(), QStringLiteral("Fernzugriff von: 10.0.0.9:4711"));
    QTest::ignoreMessage(QtDebugMsg, "Ch05 rds local");
    kit.publish(QStringLiteral("rdsin.5"), QString());
    QCOMPARE(rds->text(), QStringLiteral("Eins"));
    QCOMPARE(rds->palette().color(QPalette::Base).rgba(), 0xFF108010u);
}

void TestFMChannel::contextMenuEntries_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<QList<int>>("arguments");
    QTest::newRow("rds field: show source")
        << "rds" << QStringList{"Zeige RDS Quelle", "Zeige TMC Quelle", "", "RDS aus Datei senden"}
        << "Zeige RDS Quelle" << QList<int>{1, -1};
    QTest::newRow("rds field: send a file")
        << "rds" << QStringList{"Zeige RDS Quelle", "Zeige TMC Quelle", "", "RDS aus Datei senden"}
        << "RDS aus Datei senden" << QList<int>{1, 3};
    QTest::newRow("rds field: TMC source")
        << "rds" << QStringList{"Zeige RDS Quelle", "Zeige TMC Quelle", "", "RDS aus Datei senden"}
        << "Zeige TMC Quelle" << QList<int>{2};
    QTest::newRow("audio field") << "audio" << QStringList{"Zeige Audio Quelle"}
                                 << "Zeige Audio Quelle" << QList<int>{4};
}

void TestFMChannel::contextMenuEntries()
{
    QFETCH(QString, field);
    QFETCH(QStringList, entries);
    QFETCH(QString, signal);
    QFETCH(QList<int>, arguments);
    StripKit kit(channelUsing({{"channel.5/idrds", "1"},
                               {"rds.1/name", "Eins"},
                               {"rds.1/tmcsi", "2"},
                               {"tmc.2/name", "T"},
                               {"channel.5/idaudio", "4"},
                               {"audio.4/name", "Vier"}}));
    QSignalSpy audio(kit.strip.get(), &FMChannel::showAudio);
    QSignalSpy rds(kit.strip.get(), &FMChannel::showRDS);
    QSignalSpy tmc(kit.strip.get(), &FMChannel::showTMC);
    QLabel* label = kit.field(qPrintable(field));
    const QPoint at = label->geometry().center();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, kit.strip->mapToGlobal(at));
    QCoreApplication::sendEvent(kit.strip.get(), &menuEvent);
    auto* menu = kit.strip->findChild<QMenu*>(QStringLiteral("sources"));
    QVERIFY(menu->isVisible());
    QStringList shown;
    QAction* chosen = nullptr;
    for (QAction* action : menu->actions()) {
        shown.append(action->text());
        if (action->text() == signal)
            chosen = action;
    }
    QCOMPARE(shown, entries);
    menu->hide();
    chosen->trigger();
    QList<int> got;
    for (QSignalSpy* spy : {&audio, &rds, &tmc})
        for (const QVariant& v : spy->value(0, {}))
            got.append(v.toInt());
    QCOMPARE(got, arguments);
}

// A source switched off elsewhere is dropped from the channel.
void TestFMChannel::unusedSourceIsDropped()
{
    StripKit kit(channelUsing(
        {{"channel.5/idaudio", "3"}, {"audio.3/name", "Drei"}, {"audio.3/used", "0"}}));
    QCOMPARE(kit.field("audio")->text(), QStringLiteral("<kein Audio>"));
    QCOMPARE(kit.store->channel(kChannel).idaudio, 0);
}

// The play position shows as a narrow yellow-green mark in the audio field,
// fading in from the green before it.
void TestFMChannel::playPositionMark()
{
    StripKit kit(channelUsing({}));
    QLabel* audio = kit.field("audio");
    kit.publish(QStringLiteral("chinfo.5.playpos"), 500);
    const QImage shown = audio->grab().toImage();
    const int w = audio->width();
    const auto at = [&shown](int x) { return QColor(shown.pixel(x, 3)); };
    const QColor mark(0xA0, 0xB0, 0x20);
    const QColor green(0x10, 0x80, 0x10);
    QCOMPARE(at(w / 2 - 1), mark);
    QCOMPARE(at(w / 5), green);
    QCOMPARE(at(w * 4 / 5), green);
    const QColor fading = at(w * 45 / 100);
    QVERIFY2(fading != green && fading != mark, qPrintable(fading.name()));
}

// The mark stands for a share of the song: a wider field shows it at the
// same share, without waiting for the next position.
void TestFMChannel::playPositionMarkKeepsItsPlaceWhenTheStripGrows()
{
    StripKit kit(channelUsing({}));
    QLabel* audio = kit.field("audio");
    kit.publish(QStringLiteral("chinfo.5.playpos"), 250);
    const int before = audio->width();
    kit.strip->resize(kit.strip->width() + 300, kit.strip->height());
    StripKit::settle();
    QVERIFY(audio->width() > before + 100);
    const QImage shown = audio->grab().toImage();
    const QColor mark(0xA0, 0xB0, 0x20);
    QCOMPARE(QColor(shown.pixel(audio->width() / 4 - 1, 3)), mark);
    QVERIFY(QColor(shown.pixel(before / 4 - 1, 3)) != mark);
}

// A moving mark repaints only the stretch it leaves and enters: what is on
// screen (the window's backing store, not a fresh grab()) shows the mark at
// its new place alone, and the field's text across the stretch.
void TestFMChannel::movingMarkLeavesNoTraceOnScreen()
{
    StripKit kit(channelUsing({{"channel.5/idaudio", "1"},
                               {"audio.1/name", "Ein langer Name der Audioquelle"}}));
    QLabel* audio = kit.field("audio");
    const auto onScreen = [&kit, audio] {
        QCoreApplication::processEvents();
        const QPoint origin = audio->mapTo(kit.strip.get(), QPoint());
        return kit.strip->screen()
            ->grabWindow(kit.strip->winId(), origin.x(), origin.y(), audio->width(),
                         audio->height())
            .toImage();
    };
    const QColor mark(0xA0, 0xB0, 0x20);
    kit.publish(QStringLiteral("chinfo.5.playpos"), 300);
    QTRY_COMPARE(QColor(onScreen().pixel(audio->width() * 3 / 10 - 1, 3)), mark);
    for (int permille = 310; permille <= 700; permille += 10)
        kit.publish(QStringLiteral("chinfo.5.playpos"), permille);
    QTRY_COMPARE(QColor(onScreen().pixel(audio->width() * 7 / 10 - 1, 3)), mark);
    QCOMPARE(onScreen(), audio->grab().toImage());
}

void TestFMChannel::playPositionMarkOutlivesOtherChanges_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shown");
    QTest::newRow("gain") << "channel.5.gain" << QVariant(-7) << "gain" << "-7";
    QTest::newRow("volume") << "channel.5.volm" << QVariant(55) << "volm" << "55%";
}

// A client setting one key of the channel again and again has only that
// key redrawn: the play position mark stays where it was.
void TestFMChannel::playPositionMarkOutlivesOtherChanges()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QString, field);
    QFETCH(QString, shown);
    StripKit kit(channelUsing({}));
    QLabel* audio = kit.field("audio");
    kit.publish(QStringLiteral("chinfo.5.playpos"), 500);
    QCOMPARE(kit.store->set(key, value), 0);
    StripKit::settle();
    QCOMPARE(kit.field(qPrintable(field))->text(), shown);
    const QImage image = audio->grab().toImage();
    QCOMPARE(QColor(image.pixel(audio->width() / 2 - 1, 3)), QColor(0xA0, 0xB0, 0x20));
}

// A strip out of sight only keeps the newest position; shown, it marks it.
void TestFMChannel::hiddenStripMarksTheNewestPositionWhenShown()
{
    StripKit kit(channelUsing({}));
    QLabel* audio = kit.field("audio");
    kit.strip->hide();
    kit.publish(QStringLiteral("chinfo.5.playpos"), 200);
    kit.publish(QStringLiteral("chinfo.5.playpos"), 500);
    kit.strip->show();
    StripKit::settle();
    const QImage image = audio->grab().toImage();
    const QColor mark(0xA0, 0xB0, 0x20);
    QCOMPARE(QColor(image.pixel(audio->width() / 2 - 1, 3)), mark);
    QVERIFY(QColor(image.pixel(audio->width() / 5 - 1, 3)) != mark);
}

// The chooser sits in the audio field; the moving mark must not reach it
// while it is closed. Opened, it shows the field's colours.
void TestFMChannel::closedChooserKeepsItsColoursWhileTheMarkMoves()
{
    StripKit kit(channelUsing({{"audio.1/name", "A1"}}));
    QLabel* audio = kit.field("audio");
    Lister* chooser = kit.strip->audioChooser();
    const QBrush before = chooser->palette().brush(QPalette::Base);
    kit.publish(QStringLiteral("chinfo.5.playpos"), 500);
    QCOMPARE(QColor(audio->grab().toImage().pixel(audio->width() / 2 - 1, 3)),
             QColor(0xA0, 0xB0, 0x20));
    QCOMPARE(chooser->palette().brush(QPalette::Base), before);

    QTest::mouseClick(audio, Qt::LeftButton);
    QVERIFY(chooser->isVisible());
    QCOMPARE(chooser->palette().brush(QPalette::Base), audio->palette().brush(QPalette::Base));
    chooser->hidePopup();
}

void TestFMChannel::playPositionFollowsTheProject_data()
{
    QTest::addColumn<bool>("usedBefore");
    QTest::addColumn<bool>("usedAfter");
    QTest::newRow("an unused channel shows no position") << false << false;
    QTest::newRow("a new project leaves the channel unused") << true << false;
    QTest::newRow("a new project uses the channel too") << true << true;
}

// The strip switches to another project while the old project's engine
// has still sent positions the strip has not yet seen.
void TestFMChannel::playPositionFollowsTheProject()
{
    QFETCH(bool, usedBefore);
    QFETCH(bool, usedAfter);
    StripKit kit({{"channel.5/used", usedBefore ? "1" : "0"}, {"channel.5/freq", "95.8"}});
    QLabel* audio = kit.field("audio");
    const QColor mark(0xA0, 0xB0, 0x20);
    const auto markAt = [audio, &mark](int permille) {
        const QImage shown = audio->grab().toImage();
        return QColor(shown.pixel(int(std::lround(permille * audio->width() * 0.001)) - 1, 3)) ==
               mark;
    };
    kit.publish(QStringLiteral("chinfo.5.playpos"), 500);
    QCOMPARE(markAt(500), usedBefore);

    kit.store->publish(QStringLiteral("chinfo.5.playpos"), 700);
    QSettings next(kit.dir.filePath(QStringLiteral("next.fm")), QSettings::IniFormat);
    next.setValue(QStringLiteral("channel.5/used"), usedAfter ? "1" : "0");
    next.setValue(QStringLiteral("channel.5/freq"), "95.8");
    next.sync();
    const auto fresh = QSharedPointer<FMSettings>::create(next.fileName());
    kit.strip->refresh(fresh);
    StripKit::settle();
    QVERIFY(!markAt(500));
    QVERIFY(!markAt(700));

    // The new project's own position shows, even where the old mark was.
    fresh->publish(QStringLiteral("chinfo.5.playpos"), 500);
    StripKit::settle();
    QCOMPARE(markAt(500), usedAfter);
}

void TestFMChannel::openingLeavesTheProjectClean_data()
{
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("a frequency in short spelling")
        << Keys{{"channel.5/used", "1"}, {"channel.5/freq", "95.8"}} << QVariant("95.8");
    QTest::newRow("a used channel without a frequency key")
        << Keys{{"channel.5/used", "1"}} << QVariant();
    QTest::newRow("an unused channel") << Keys{{"channel.5/freq", "101"}} << QVariant("101");
}

// Showing the project is no edit: the strip writes nothing back, yet the
// used channel counts in the distances.
void TestFMChannel::openingLeavesTheProjectClean()
{
    QFETCH(Keys, keys);
    QFETCH(QVariant, stored);
    StripKit kit(keys + Keys{{"channel.6/used", "1"}, {"channel.6/freq", "108.0"}});
    FMChannel neighbour(6);
    neighbour.refresh(kit.store);
    StripKit::settle();
    QVERIFY(!kit.store->isDirty());
    QCOMPARE(kit.store->value(QStringLiteral("channel.5.freq")), stored);
    KeyRecorder recorder;
    kit.store->subscribe(QStringLiteral("chinfo.6.dist"), &recorder);
    kit.store->publishDistances();
    recorder.collect();
    const double expected =
        kit.store->channel(kChannel).used ? 108.0 - kit.store->channel(kChannel).freq : 100.0;
    QCOMPARE(recorder.values().value(0).toDouble(), expected);
}

QTEST_MAIN(TestFMChannel)
#include "tst_fmchannel.moc"
