// The channel page in the real window: strips edited with the mouse and
// keys and following the store, band and distance colours, the context
// menu's page switches, and the board tiles against the board emulator,
// including the take-over question for a board that another host holds.
#include "../main/WindowKit.h"

#include "BoardEmulator.h"

#include "board/FMBoard.h"
#include "channels/ChannelView.h"
#include "channels/FMChannel.h"
#include "channels/Lister.h"
#include "channels/OnOff.h"
#include "channels/Slider.h"
#include "connect/FMUnlock.h"

#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>

namespace {

using Keys = QList<std::pair<QString, QString>>;
using Emu = BoardEmulator;

void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QRgb alternateBase(FMChannel* strip)
{
    return strip->palette().color(QPalette::AlternateBase).rgba();
}

QLabel* field(FMChannel* strip, const char* name)
{
    return strip->findChild<QLabel*>(QLatin1String(name));
}

QColor tileColour(int number, QColor c, const QColor& base)
{
    if (number % 3 != 0)
        c = c.darker(142);
    return QColor((base.red() + c.red()) / 2, (base.green() + c.green()) / 2,
                  (base.blue() + c.blue()) / 2, (base.alpha() + c.alpha()) / 2);
}

} // namespace

class TestChannelPage : public QObject
{
    Q_OBJECT

private slots:
    void stripsWriteTheirKeys();
    void remoteSetShowsInTheFields();
    void japanSwitchesOffWhatLiesOutside();
    void distanceColours();
    void remoteRdsSender();
    void contextMenuSwitchesThePage_data();
    void contextMenuSwitchesThePage();
    void tileGoesOnline();
    void takeOverQuestion();
};

void TestChannelPage::stripsWriteTheirKeys()
{
    WindowKit kit;
    kit.writeProject(QStringLiteral("q.fm"), {{"channel.2/freq", "90.0"},
                                              {"audio.1/name", "Eins"},
                                              {"audio.2/name", "Zwei"},
                                              {"rds.1/name", "R1"}});
    FMManager* window = kit.open();
    FMChannel* strip = window->channel(1);
    auto store = window->project();
    QTest::mouseClick(strip->findChild<OnOff*>(QStringLiteral("use")), Qt::LeftButton);
    QCOMPARE(store->get(QStringLiteral("channel.2.used")).toInt(), 1);
    strip->findChild<QToolButton*>(QStringLiteral("Baudio"))->click();
    QCOMPARE(store->get(QStringLiteral("channel.2.mute")).toInt(), 1);

    QTest::mouseClick(field(strip, "freq"), Qt::LeftButton);
    Slider* slider = strip->frequencySlider();
    QVERIFY(slider->isVisible());
    for (char key : {'9', '8', '.', '1'}) {
        QTest::keyClick(slider, key);
        slider->grab();
    }
    QTest::keyClick(slider, Qt::Key_Return);
    QCOMPARE(store->get(QStringLiteral("channel.2.freq")).toString(), QStringLiteral("98.100"));

    QTest::mouseClick(field(strip, "audio"), Qt::LeftButton);
    strip->audioChooser()->hidePopup();
    strip->audioChooser()->setCurrentIndex(2);
    QCOMPARE(store->get(QStringLiteral("channel.2.idaudio")).toInt(), 2);
    QTest::mouseClick(field(strip, "rds"), Qt::LeftButton);
    strip->rdsChooser()->hidePopup();
    strip->rdsChooser()->setCurrentIndex(1);
    QCOMPARE(store->get(QStringLiteral("channel.2.idrds")).toInt(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(field(strip, "audio")->text(), QStringLiteral("Zwei"),
                              WindowKit::kWaitMs);
    QCOMPARE(field(strip, "rds")->text(), QStringLiteral("R1"));
    QCOMPARE(field(strip, "freq")->text(), QStringLiteral("98.10 MHz"));
}

// What the command layer writes (as for a remote SET) shows in the strip.
void TestChannelPage::remoteSetShowsInTheFields()
{
    WindowKit kit;
    kit.writeProject(QStringLiteral("q.fm"), {{"audio.3/name", "Drei"}});
    FMManager* window = kit.open();
    FMChannel* strip = window->channel(3);
    auto store = window->project();
    QCOMPARE(store->set(QStringLiteral("channel.4.freq"), 101.25), 0);
    QCOMPARE(store->set(QStringLiteral("channel.4.gain"), -7), 0);
    QCOMPARE(store->set(QStringLiteral("channel.4.volm"), 66), 0);
    QCOMPARE(store->set(QStringLiteral("channel.4.used"), 1), 0);
    QCOMPARE(store->set(QStringLiteral("channel.4.mute"), 1), 0);
    QCOMPARE(store->set(QStringLiteral("channel.4.idaudio"), 3), 0);
    // The strip takes the changes of a frame in one go.
    QTRY_COMPARE_WITH_TIMEOUT(field(strip, "audio")->text(), QStringLiteral("Drei"),
                              WindowKit::kWaitMs);
    QCOMPARE(field(strip, "freq")->text(), QStringLiteral("101.25 MHz"));
    QCOMPARE(field(strip, "gain")->text(), QStringLiteral("-7"));
    QCOMPARE(field(strip, "volm")->text(), QStringLiteral("66%"));
    QVERIFY(strip->findChild<OnOff*>(QStringLiteral("use"))->on);
    QVERIFY(strip->findChild<QToolButton*>(QStringLiteral("Baudio"))->isChecked());
    QVERIFY(strip->isUsed());
}

void TestChannelPage::japanSwitchesOffWhatLiesOutside()
{
    WindowKit kit;
    kit.writeProject(QStringLiteral("q.fm"), {{"channel.1/used", "1"},
                                              {"channel.1/freq", "98.0"},
                                              {"channel.2/used", "1"},
                                              {"channel.2/freq", "90.0"}});
    FMManager* window = kit.open();
    auto store = window->project();
    settle();
    const QRgb before = alternateBase(window->channel(1));
    int band = 1;
    int attn = store->attenuation();
    store->setBandAttn(band, attn);
    QTRY_COMPARE_WITH_TIMEOUT(store->get(QStringLiteral("channel.1.used")).toInt(), 0,
                              WindowKit::kWaitMs);
    QCOMPARE(store->get(QStringLiteral("channel.2.used")).toInt(), 1);
    QCOMPARE(alternateBase(window->channel(0)), 0xFF505050u);
    QCOMPARE(alternateBase(window->channel(1)), before);
    QCOMPARE(window->channel(0)->frequencySlider()->maximum(), 95.0);
    QCOMPARE(window->channel(0)->frequencySlider()->minimum(), 76.0);
}

void TestChannelPage::distanceColours()
{
    WindowKit kit;
    kit.writeProject(QStringLiteral("q.fm"), {{"channel.1/used", "1"},
                                              {"channel.1/freq", "95.0"},
                                              {"channel.2/used", "1"},
                                              {"channel.2/freq", "95.25"},
                                              {"channel.3/used", "0"},
                                              {"channel.3/freq", "95.1"},
                                              {"channel.4/used", "1"},
                                              {"channel.4/freq", "105.0"}});
    FMManager* window = kit.open();
    auto store = window->project();
    QTRY_COMPARE_WITH_TIMEOUT(alternateBase(window->channel(0)), 0xFFA0A010u, WindowKit::kWaitMs);
    QCOMPARE(alternateBase(window->channel(1)), 0xFFA0A010u);
    QCOMPARE(alternateBase(window->channel(2)), 0xFF505050u);
    QCOMPARE(alternateBase(window->channel(3)), 0xFF108010u);
    QCOMPARE(store->set(QStringLiteral("channel.2.freq"), 95.15), 0);
    QTRY_COMPARE_WITH_TIMEOUT(alternateBase(window->channel(0)), 0xFF903030u, WindowKit::kWaitMs);
    QCOMPARE(alternateBase(window->channel(1)), 0xFF903030u);
    QCOMPARE(alternateBase(window->channel(2)), 0xFF505050u);
}

void TestChannelPage::remoteRdsSender()
{
    WindowKit kit;
    kit.writeProject(QStringLiteral("q.fm"), {{"channel.5/idrds", "1"}, {"rds.1/name", "Eins"}});
    FMManager* window = kit.open();
    QLabel* rds = field(window->channel(4), "rds");
    QCOMPARE(rds->text(), QStringLiteral("Eins"));
    QTest::ignoreMessage(QtDebugMsg, "Ch05 rds remote");
    window->project()->publish(QStringLiteral("rdsin.5"), QStringLiteral("127.0.0.1:5000"));
    QTRY_COMPARE_WITH_TIMEOUT(rds->text(), QStringLiteral("Fernzugriff"), WindowKit::kWaitMs);
    QTest::ignoreMessage(QtDebugMsg, "Ch05 rds local");
    window->project()->publish(QStringLiteral("rdsin.5"), QString());
    QTRY_COMPARE_WITH_TIMEOUT(rds->text(), QStringLiteral("Eins"), WindowKit::kWaitMs);
}

void TestChannelPage::contextMenuSwitchesThePage_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("page");
    QTest::newRow("audio source") << "audio"
                                  << "Zeige Audio Quelle" << 1;
    QTest::newRow("RDS source") << "rds"
                                << "Zeige RDS Quelle" << 2;
    QTest::newRow("RDS file") << "rds"
                              << "RDS aus Datei senden" << 2;
    QTest::newRow("TMC source") << "rds"
                                << "Zeige TMC Quelle" << 3;
}

void TestChannelPage::contextMenuSwitchesThePage()
{
    QFETCH(QString, field);
    QFETCH(QString, entry);
    QFETCH(int, page);
    WindowKit kit;
    kit.writeProject(QStringLiteral("q.fm"), {{"channel.1/idrds", "1"},
                                              {"rds.1/name", "Eins"},
                                              {"rds.1/tmcsi", "1"},
                                              {"tmc.1/name", "T"},
                                              {"channel.1/idaudio", "1"},
                                              {"audio.1/name", "A"}});
    FMManager* window = kit.open();
    FMChannel* strip = window->channel(0);
    QLabel* label = ::field(strip, qPrintable(field));
    const QPoint at = label->geometry().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, strip->mapToGlobal(at));
    QCoreApplication::sendEvent(strip, &event);
    auto* menu = strip->findChild<QMenu*>(QStringLiteral("sources"));
    QAction* chosen = nullptr;
    for (QAction* action : menu->actions())
        if (action->text() == entry)
            chosen = action;
    QVERIFY(chosen);
    menu->hide();
    chosen->trigger();
    QCOMPARE(kit.find<QStackedWidget>(QStringLiteral("stackedWidget"))->currentIndex(), page);
}

void TestChannelPage::tileGoesOnline()
{
    BoardEmulator emulator;
    QVERIFY(emulator.start());
    WindowKit kit;
    kit.ini->setValue(QStringLiteral("Board/0"), WindowKit::storedBoard(emulator));
    FMManager* window = kit.open();
    auto* tile = kit.find<ChannelView>(QStringLiteral("board0"));
    const QColor base = QApplication::palette(tile).color(QPalette::Window);
    QTRY_VERIFY_WITH_TIMEOUT(window->board(0)->isOnline(), WindowKit::kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(tile->state(), 3, WindowKit::kWaitMs);
    QCOMPARE(tile->palette().color(QPalette::Window), tileColour(0, QColor(0xD0D0D0), base));
}

// Refused by the lock of another host: the tile turns red and asks; taking
// over sends UNLOCK and SET LOCK, and the tile is online again. A second
// refusal asks in the same dialog, where Enter gives the board up.
void TestChannelPage::takeOverQuestion()
{
    BoardEmulator emulator;
    QVERIFY(emulator.start());
    const QByteArray other = QByteArray("\x42", 1) + "someone@else";
    emulator.setLockHolder(0x0A000009, 21000, other);
    WindowKit kit;
    kit.ini->setValue(QStringLiteral("Board/0"), WindowKit::storedBoard(emulator));
    FMManager* window = kit.open();
    auto* tile = kit.find<ChannelView>(QStringLiteral("board0"));
    const QColor base = QApplication::palette(tile).color(QPalette::Window);
    QTRY_COMPARE_WITH_TIMEOUT(tile->state(), 2, WindowKit::kWaitMs);
    QCOMPARE(tile->palette().color(QPalette::Window), tileColour(0, QColor(0xFF0000), base));
    auto* question = tile->findChild<FMUnlock*>();
    QVERIFY(question);
    QVERIFY(question->isVisible());
    const QString text = question->text();
    QVERIFY2(text.contains(QLatin1String("#258")), qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("10.0.0.9 : 21000")), qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("someone@else")), qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("zuletzt:")), qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("127.0.0.1 : ")), qPrintable(text));

    emulator.clearReceived();
    question->findChild<QPushButton*>(QStringLiteral("Bunlock"))->click();
    QTRY_COMPARE_WITH_TIMEOUT(tile->state(), 3, WindowKit::kWaitMs);
    QVERIFY(!question->isVisible());
    QCOMPARE(emulator.countOfType(Emu::Unlock), 1);
    QTRY_COMPARE_WITH_TIMEOUT(emulator.countOfType(Emu::SetLock), 1, WindowKit::kWaitMs);

    emulator.setLockHolder(0x0A000009, 21000, other);
    window->board(0)->connectTo(window->board(0)->address());
    QTRY_COMPARE_WITH_TIMEOUT(tile->state(), 2, WindowKit::kWaitMs);
    QCOMPARE(tile->findChildren<FMUnlock*>().size(), 1);
    QCOMPARE(tile->findChild<FMUnlock*>(), question);
    QVERIFY(question->isVisible());
    emulator.clearReceived();
    QTest::keyClick(question, Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(tile->state(), 1, WindowKit::kWaitMs);
    QVERIFY(!question->isVisible());
    QCOMPARE(tile->palette().color(QPalette::Window), tileColour(0, QColor(0x3030F0), base));
    QCOMPARE(emulator.countOfType(Emu::Unlock), 0);
    QVERIFY(!window->board(0)->address().isSet());
}

QTEST_MAIN(TestChannelPage)
#include "tst_channelpage.moc"
