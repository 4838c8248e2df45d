// The program window itself: tiles and lights per modulator count, page and
// channel keys, the unsaved-changes mark across a restart, the language
// question and switch, release notes after an update, the example projects
// and the English translation.
#include "WindowKit.h"

#include "audio/DecoderSet.h"
#include "board/FMBoard.h"
#include "channels/ChannelView.h"
#include "channels/FMChannel.h"
#include "channels/OnOff.h"
#include "channels/Slider.h"
#include "gui/UiGerman.h"
#include "main/Startup.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QScopeGuard>
#include <QScreen>
#include <QPushButton>
#include <QStackedWidget>
#include <QTranslator>
#include <QXmlStreamReader>

class TestFMManager : public QObject
{
    Q_OBJECT

private slots:
    void modulators_data();
    void modulators();
    void pageKeysStopAtTheEnds();
    void firstWindowFillsTheScreen();
    void channelKeys_data();
    void channelKeys();
    void outOfBandChannelStaysOff_data();
    void outOfBandChannelStaysOff();
    void unsavedMarkSurvivesRestart();
    void newProjectDropsTheOldPlayPosition();
    void firstStartLanguage_data();
    void firstStartLanguage();
    void storedLanguage_data();
    void storedLanguage();
    void menuLanguageSwitch();
    void releaseNotesOnceAfterUpdate();
    void examples_data();
    void examples();
    void missingExampleDoesNothing();
    void exampleAudioFromAnyFolder_data();
    void exampleAudioFromAnyFolder();
    void translationComplete();
    void languageAtStartup_data();
    void languageAtStartup();
    void numbersUseThePoint();
};

void TestFMManager::modulators_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("shown");
    QTest::newRow("two boards") << QVariant(2) << 2;
    QTest::newRow("none stored reads as one") << QVariant() << 1;
    QTest::newRow("seven are clamped to four") << QVariant(7) << 4;
    QTest::newRow("zero is clamped to one") << QVariant(0) << 1;
}

void TestFMManager::modulators()
{
    QFETCH(QVariant, stored);
    QFETCH(int, shown);
    WindowKit kit;
    if (stored.isValid())
        kit.ini->setValue(QStringLiteral("Board/mods"), stored);
    FMManager* window = kit.open();
    for (int b = 0; b < FMManager::kBoards; ++b) {
        const bool visible = b < shown;
        QCOMPARE(kit.find<ChannelView>(QStringLiteral("board%1").arg(b))->isVisibleTo(window),
                 visible);
        QCOMPARE(kit.find<QLabel>(QStringLiteral("boardLabel%1").arg(b))->isVisibleTo(window),
                 visible);
        QCOMPARE(kit.find<QLabel>(QStringLiteral("boardLight%1").arg(b))->isVisibleTo(window),
                 visible);
        QVERIFY(window->board(b));
        QVERIFY(window->board(b)->isRunning());
    }
    QCOMPARE(window->modulators(), shown);
}

// Without a stored layout the window takes the screen's free room; once a
// layout is stored, that one comes back.
void TestFMManager::firstWindowFillsTheScreen()
{
    WindowKit kit;
    FMManager* window = kit.open();
    // No smaller than the window can get, should the test screen be small.
    const QSize room =
        window->screen()->availableGeometry().size().expandedTo(window->minimumSizeHint());
    QCOMPARE(window->size(), room);

    const QSize chosen = window->minimumSizeHint() + QSize(20, 10);
    window->resize(chosen);
    kit.close();
    window = kit.open();
    QCOMPARE(window->size(), chosen);
}

void TestFMManager::pageKeysStopAtTheEnds()
{
    WindowKit kit;
    FMManager* window = kit.open();
    auto* pages = kit.find<QStackedWidget>(QStringLiteral("stackedWidget"));
    QTest::keyClick(window, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(pages->currentIndex(), 0);
    for (int expected : {1, 2, 3, 3}) {
        QTest::keyClick(window, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(pages->currentIndex(), expected);
    }
    QVERIFY(kit.find<QAction>(QStringLiteral("page3"))->isChecked());
    QTest::keyClick(window, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(pages->currentIndex(), 2);
    QTest::keyClick(window, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(pages->currentIndex(), 0);
    QVERIFY(kit.find<QAction>(QStringLiteral("page0"))->isChecked());
}

void TestFMManager::channelKeys_data()
{
    QTest::addColumn<int>("modulators");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("channel");
    QTest::addColumn<bool>("toggled");
    QTest::newRow("5") << 1 << int(Qt::Key_5) << int(Qt::NoModifier) << 5 << true;
    QTest::newRow("0 is the tenth") << 1 << int(Qt::Key_0) << int(Qt::NoModifier) << 10 << true;
    QTest::newRow("Ctrl+5") << 1 << int(Qt::Key_5) << int(Qt::ControlModifier) << 15 << true;
    QTest::newRow("Alt+5") << 2 << int(Qt::Key_5) << int(Qt::AltModifier) << 25 << true;
    QTest::newRow("Ctrl+Alt+0") << 2 << int(Qt::Key_0) << int(Qt::ControlModifier | Qt::AltModifier)
                                << 40 << true;
    QTest::newRow("Alt+5 on a hidden tile")
        << 1 << int(Qt::Key_5) << int(Qt::AltModifier) << 25 << false;
}

void TestFMManager::channelKeys()
{
    QFETCH(int, modulators);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, channel);
    QFETCH(bool, toggled);
    WindowKit kit;
    kit.ini->setValue(QStringLiteral("Board/mods"), modulators);
    FMManager* window = kit.open();
    const QString used = QStringLiteral("channel.%1.used").arg(channel);
    const int before = window->project()->get(used).toInt();
    QTest::keyClick(window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(window->project()->get(used).toInt(), toggled ? 1 - before : before);
    if (toggled) {
        QTest::keyClick(window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(window->project()->get(used).toInt(), before);
    }
}

void TestFMManager::outOfBandChannelStaysOff_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("the digit key") << true;
    QTest::newRow("the strip's switch") << false;
}

// Channel 1 at 95.5 MHz goes off when the band narrows to Japan's; neither
// the key nor the switch puts it on air again until the band allows it.
void TestFMManager::outOfBandChannelStaysOff()
{
    QFETCH(bool, byKey);
    WindowKit kit;
    FMManager* window = kit.open();
    const QSharedPointer<FMSettings> store = window->project();
    store->set(QStringLiteral("channel.1.freq"), 95.5);
    store->set(QStringLiteral("channel.1.used"), 1);
    FMChannel* strip = window->channel(0);
    // Until the strip has heard of the band (the pages take a frame's
    // changes in one go).
    const auto chooseBand = [&store, strip](int band) {
        int attenuation = store->attenuation();
        store->setBandAttn(band, attenuation);
        QTRY_COMPARE_WITH_TIMEOUT(strip->frequencySlider()->maximum(), band == 1 ? 95.0 : 108.0,
                                  WindowKit::kWaitMs);
    };
    const auto toggle = [&] {
        if (byKey)
            QTest::keyClick(window, Qt::Key_1);
        else
            QTest::mouseClick(strip->findChild<OnOff*>(QStringLiteral("use")), Qt::LeftButton);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    };
    chooseBand(1);
    QCOMPARE(store->get(QStringLiteral("channel.1.used")).toInt(), 0);
    toggle();
    QCOMPARE(store->get(QStringLiteral("channel.1.used")).toInt(), 0);
    QVERIFY(!strip->isUsed());
    QVERIFY(!strip->findChild<OnOff*>(QStringLiteral("use"))->on);
    QVERIFY2(strip->toolTip().contains(QStringLiteral("außerhalb")), qPrintable(strip->toolTip()));

    chooseBand(0);
    QVERIFY(strip->toolTip().isEmpty());
    toggle();
    QCOMPARE(store->get(QStringLiteral("channel.1.used")).toInt(), 1);
}

// Channel 1 streams, with its engine's last positions still on their way,
// when the user starts a new project.
void TestFMManager::newProjectDropsTheOldPlayPosition()
{
    WindowKit kit;
    FMManager* window = kit.open();
    window->project()->set(QStringLiteral("channel.1.used"), 1);
    auto* audio = window->channel(0)->findChild<QLabel*>(QStringLiteral("audio"));
    QVERIFY(audio);
    const auto markAt = [audio](int permille) {
        const QImage shown = audio->grab().toImage();
        const int x = int(std::lround(permille * audio->width() * 0.001)) - 1;
        return QColor(shown.pixel(x, 3)) == QColor(0xA0, 0xB0, 0x20);
    };
    window->project()->publish(QStringLiteral("chinfo.1.playpos"), 500);
    QTRY_VERIFY_WITH_TIMEOUT(markAt(500), WindowKit::kWaitMs);

    const QSharedPointer<FMSettings> streaming = window->project();
    streaming->publish(QStringLiteral("chinfo.1.playpos"), 700);
    ModalQuestions::setNextAnswer(QMessageBox::Discard);
    ModalQuestions::setNextFileName(kit.path(QStringLiteral("new.fm")));
    kit.trigger(QStringLiteral("actNew"));
    QVERIFY(window->project() != streaming);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QVERIFY(!markAt(500));
    QVERIFY(!markAt(700));
}

void TestFMManager::unsavedMarkSurvivesRestart()
{
    WindowKit kit;
    FMManager* window = kit.open();
    QVERIFY(!window->windowTitle().endsWith(QLatin1String(" *")));
    QCOMPARE(window->project()->set(QStringLiteral("channel.3.freq"), 101.5), 0);
    QTRY_VERIFY_WITH_TIMEOUT(window->windowTitle().endsWith(QLatin1String(" *")),
                             WindowKit::kWaitMs);
    kit.close();
    kit.ini->sync();
    QSettings stored(kit.iniPath(), QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("Last/dirty")).toInt(), 1);
    QVERIFY(!stored.value(QStringLiteral("Main/geometry")).toByteArray().isEmpty());
    QVERIFY(!stored.value(QStringLiteral("Main/winstate")).toByteArray().isEmpty());
    // The change is in the working copy on disk, not only in memory.
    QSettings workingCopy(kit.workingCopy(), QSettings::IniFormat);
    QCOMPARE(workingCopy.value(QStringLiteral("channel.3/freq")).toDouble(), 101.5);

    window = kit.open();
    QVERIFY2(window->windowTitle().endsWith(QLatin1String(" *")),
             qPrintable(window->windowTitle()));
}

void TestFMManager::firstStartLanguage_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("closes");
    QTest::newRow("English") << "Beng" << int(QMessageBox::NoButton) << "en" << false;
    QTest::newRow("German, Close") << "Bger" << int(QMessageBox::Close) << "de" << true;
    QTest::newRow("German, Cancel") << "Bger" << int(QMessageBox::Cancel) << "" << false;
}

// The first start asks for a language one second after the window shows.
void TestFMManager::firstStartLanguage()
{
    QFETCH(QString, button);
    QFETCH(int, answer);
    QFETCH(QString, stored);
    QFETCH(bool, closes);
    WindowKit kit;
    kit.ini->remove(QStringLiteral("Board/lang"));
    if (answer != QMessageBox::NoButton)
        ModalQuestions::setNextAnswer(QMessageBox::StandardButton(answer));
    bool accepted = false;
    ModalQuestions::setNextDialogAction([&](QDialog* dialog) {
        auto* pressed = dialog->findChild<QPushButton*>(button);
        if (pressed)
            pressed->click();
        accepted = dialog->result() == QDialog::Accepted;
        return dialog->result();
    });
    kit.open();
    QTRY_VERIFY_WITH_TIMEOUT(ModalQuestions::asked().contains(QLatin1String("Select Language")),
                             WindowKit::kWaitMs);
    QVERIFY(accepted);
    QCOMPARE(kit.ini->value(QStringLiteral("Board/lang")).toString(), stored);
    // English is what start-up took already, so it needs no restart.
    QCOMPARE(ModalQuestions::asked().contains(QLatin1String("Language change")),
             button == QLatin1String("Bger"));
    if (closes)
        QTRY_VERIFY_WITH_TIMEOUT(kit.window.isNull(), WindowKit::kWaitMs);
    else
        QVERIFY(!kit.window.isNull());
    QCOMPARE(ModalQuestions::unanswered(), 0);
}

void TestFMManager::storedLanguage_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("german");
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("uiIsGerman");
    QTest::newRow("de") << "de" << true << false << true;
    QTest::newRow("EN in capitals") << "EN" << false << true << false;
    QTest::newRow("fr") << "fr" << false << false << true;
}

void TestFMManager::storedLanguage()
{
    QFETCH(QString, stored);
    QFETCH(bool, german);
    QFETCH(bool, english);
    QFETCH(bool, uiIsGerman);
    WindowKit kit;
    kit.ini->setValue(QStringLiteral("Board/lang"), stored);
    kit.open();
    QCOMPARE(kit.find<QAction>(QStringLiteral("actDE"))->isChecked(), german);
    QCOMPARE(kit.find<QAction>(QStringLiteral("actEN"))->isChecked(), english);
    QCOMPARE(uiGerman, uiIsGerman);
}

void TestFMManager::menuLanguageSwitch()
{
    WindowKit kit;
    kit.open();
    ModalQuestions::setNextAnswer(QMessageBox::Cancel);
    kit.trigger(QStringLiteral("actEN"));
    QCOMPARE(kit.ini->value(QStringLiteral("Board/lang")).toString(), QStringLiteral("de"));
    QVERIFY(kit.find<QAction>(QStringLiteral("actDE"))->isChecked());
    QVERIFY(!kit.find<QAction>(QStringLiteral("actEN"))->isChecked());

    ModalQuestions::setNextAnswer(QMessageBox::Close);
    kit.trigger(QStringLiteral("actEN"));
    QCOMPARE(kit.ini->value(QStringLiteral("Board/lang")).toString(), QStringLiteral("en"));
    QTRY_VERIFY_WITH_TIMEOUT(kit.window.isNull(), WindowKit::kWaitMs);
    QCOMPARE(ModalQuestions::asked().count(QStringLiteral("Language change")), 2);
}

void TestFMManager::releaseNotesOnceAfterUpdate()
{
    WindowKit kit;
    kit.ini->setValue(QStringLiteral("Board/soft"), QStringLiteral("Quorvin Generator v4.65"));
    FMManager* window = kit.open();
    window->askLang();
    QCOMPARE(ModalQuestions::asked(), QStringList{QStringLiteral("Neuigkeiten")});
    QCOMPARE(kit.ini->value(QStringLiteral("Board/soft")).toString(), FMManager::versionText());
    window->askLang();
    QCOMPARE(ModalQuestions::asked().size(), 1);
}

void TestFMManager::examples_data()
{
    QTest::addColumn<QString>("action");
    for (int n = 1; n <= 6; ++n)
        QTest::newRow(qPrintable(QStringLiteral("act%1").arg(n))) << QStringLiteral("act%1").arg(n);
}

// The menu texts name what each example holds; the project files are
// checked against them where they are made.
void TestFMManager::examples()
{
    QFETCH(QString, action);
    WindowKit kit;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral(TEST_SOURCE_ROOT)));
    FMManager* window = kit.open();
    const auto before = window->project();
    kit.trigger(action);
    QDir::setCurrent(previous);
    const QString file = QStringLiteral("examples/11-%1.fm").arg(action.mid(3));
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file1")).toString(), file);
    QVERIFY(window->windowTitle().endsWith(file));
    QVERIFY(window->project() != before);
    QCOMPARE(ModalQuestions::asked(), QStringList());
}

void TestFMManager::missingExampleDoesNothing()
{
    WindowKit kit;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(kit.dir.path()));
    FMManager* window = kit.open();
    const auto before = window->project();
    const QString title = window->windowTitle();
    kit.trigger(QStringLiteral("act2"));
    QDir::setCurrent(previous);
    QCOMPARE(window->project(), before);
    QCOMPARE(window->windowTitle(), title);
    QVERIFY(!kit.ini->contains(QStringLiteral("Last/file1")));
    QCOMPARE(ModalQuestions::asked(), QStringList());
}

void TestFMManager::exampleAudioFromAnyFolder_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("recent");
    QTest::newRow("started in the source root keeps the relative path")
        << TEST_SOURCE_ROOT << "" << "examples/11-2.fm";
    QTest::newRow("started elsewhere takes the copy beside the program")
        << "" << PROGRAM_DIR << PROGRAM_DIR "/examples/11-2.fm";
}

// 11-2 names its audio relative to the folder above examples/; the files
// decode whichever copy of the example was loaded.
void TestFMManager::exampleAudioFromAnyFolder()
{
    QFETCH(QString, current);
    QFETCH(QString, programFolder);
    QFETCH(QString, recent);
    WindowKit kit;
    const QString previous = QDir::currentPath();
    const auto restore = qScopeGuard([&] { QDir::setCurrent(previous); });
    QVERIFY(QDir::setCurrent(current.isEmpty() ? kit.dir.path() : current));
    if (!programFolder.isEmpty())
        ProgramFolder::setPath(programFolder);
    FMManager* window = kit.open();
    kit.trigger(QStringLiteral("act2"));
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file1")).toString(), recent);

    for (int n = 1; n <= 3; ++n) {
        SongInfo song;
        song.path = window->project()->get(QStringLiteral("audio.%1.file").arg(n)).toString();
        QVERIFY(song.path.startsWith(QLatin1String("examples/audio/")));
        DecoderSet decoders;
        QVERIFY2(openDecoder(decoders, song), qPrintable(song.path));
        QByteArray pcm(4096, '\0');
        bool end = false;
        QVERIFY2(decoders.decode(song.kind, pcm.data(), qint32(pcm.size()), end) > 0,
                 qPrintable(song.path));
    }
}

// Every text of the program has its English form, and the compiled file
// in the resources is the one start-up loads.
void TestFMManager::translationComplete()
{
    QFile ts(QStringLiteral(TEST_SOURCE_ROOT "/resources/quorvin_en.ts"));
    QVERIFY(ts.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&ts);
    int messages = 0;
    QString source;
    while (xml.readNext() != QXmlStreamReader::EndDocument && !xml.hasError()) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            ++messages;
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            QVERIFY2(type.isEmpty(), qPrintable(type + QStringLiteral(": ") + source));
            QVERIFY2(!xml.readElementText().isEmpty(), qPrintable(source));
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(messages > 100);

    QTranslator translator;
    QVERIFY(translator.load(QString::fromLatin1(Startup::kTranslation)));
    QCOMPARE(translator.translate("FMManager", "Beenden"), QStringLiteral("Quit"));
    QCOMPARE(translator.translate("FMManager", "Nicht gespeichert!"), QStringLiteral("Not saved!"));
}

void TestFMManager::languageAtStartup_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("quit");
    QTest::addColumn<QStringList>("buttons");
    const QStringList english{"Cancel", "Save", "Discard", "Close"};
    const QStringList german{"Abbrechen", "Speichern", "Verwerfen", "Schließen"};
    QTest::newRow("missing reads as en") << QVariant() << "Quit" << english;
    QTest::newRow("EN in capitals") << QVariant("EN") << "Quit" << english;
    QTest::newRow("fr shows German") << QVariant("fr") << "Beenden" << german;
    QTest::newRow("de") << QVariant("de") << "Beenden" << german;
}

// The toolkit's own buttons speak the language of the window's texts.
void TestFMManager::languageAtStartup()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, quit);
    QFETCH(QStringList, buttons);
    QTemporaryDir dir;
    QSettings ini(dir.filePath(QStringLiteral("q.ini")), QSettings::IniFormat);
    if (stored.isValid())
        ini.setValue(QStringLiteral("Board/lang"), stored);
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    QTranslator* translator = Startup::installLanguage(ini, *app);
    QCOMPARE(QCoreApplication::translate("FMManager", "Beenden"), quit);
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Save |
                         QDialogButtonBox::Discard | QDialogButtonBox::Close);
    QStringList shown;
    for (const auto which : {QDialogButtonBox::Cancel, QDialogButtonBox::Save,
                             QDialogButtonBox::Discard, QDialogButtonBox::Close})
        shown.append(box.button(which)->text().remove(QLatin1Char('&')));
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QCOMPARE(shown, buttons);
}

void TestFMManager::numbersUseThePoint()
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Startup::setNumberLocale();
    QCOMPARE(QLocale().toString(95.8), QStringLiteral("95.8"));
    bool ok = false;
    QCOMPARE(QLocale().toDouble(QStringLiteral("87.5"), &ok), 87.5);
    QVERIFY(ok);
    QLocale::setDefault(before);
}

QTEST_MAIN(TestFMManager)
#include "tst_fmmanager.moc"
