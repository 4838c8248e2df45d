// Project files through the window: open, new, save as and revert from the
// menu with the unsaved question answered ahead, the recent list with its
// menu and shortcuts.
#include "WindowKit.h"

#include <QFileInfo>
#include <QMenu>

class TestFMManagerFiles : public QObject
{
    Q_OBJECT

private slots:
    void loadFromMenu();
    void missingFileIsReported();
    void saveAs();
    void saveThatCannotBeWrittenKeepsTheMark();
    void failedSaveStopsTheOperation_data();
    void failedSaveStopsTheOperation();
    void editJustMadeIsAskedAbout_data();
    void editJustMadeIsAskedAbout();
    void newProjectStartsEmpty();
    void unsavedQuestion_data();
    void unsavedQuestion();
    void revertWithoutOriginal();
    void recentListKeepsNine();
    void recentMenu();

private:
    static void makeDirty(WindowKit& kit);
};

void TestFMManagerFiles::makeDirty(WindowKit& kit)
{
    QCOMPARE(kit.window->project()->set(QStringLiteral("channel.2.freq"), 88.8), 0);
    QTRY_VERIFY_WITH_TIMEOUT(kit.window->isDirty(), WindowKit::kWaitMs);
}

void TestFMManagerFiles::loadFromMenu()
{
    WindowKit kit;
    FMManager* window = kit.open();
    window->project()->set(QStringLiteral("channel.1.freq"), 90.1);
    const QString project =
        kit.writeProject(QStringLiteral("a.fm"), {{QStringLiteral("channel.1/freq"), "99.9"}});
    // The edit just made is asked about; discarding it goes on.
    ModalQuestions::setNextAnswer(QMessageBox::Discard);
    ModalQuestions::setNextFileName(project);
    kit.trigger(QStringLiteral("actLoad"));
    QCOMPARE(window->project()->get(QStringLiteral("channel.1.freq")).toDouble(), 99.9);
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file1")).toString(), project);
    QCOMPARE(window->windowTitle(), FMManager::versionText() + QStringLiteral(" - ") + project);
    // The previous working copy is its backup now.
    QSettings backup(kit.path(QStringLiteral("q.fbk")), QSettings::IniFormat);
    QCOMPARE(backup.value(QStringLiteral("channel.1/freq")).toDouble(), 90.1);
    QCOMPARE(ModalQuestions::asked(), (QStringList{QStringLiteral("Projekt laden"),
                                                   QStringLiteral("FM-Einstellung laden")}));
}

void TestFMManagerFiles::missingFileIsReported()
{
    WindowKit kit;
    FMManager* window = kit.open();
    const auto before = window->project();
    const QString title = window->windowTitle();
    ModalQuestions::setNextFileName(kit.path(QStringLiteral("gone.fm")));
    ModalQuestions::setNextAnswer(QMessageBox::Ok);
    kit.trigger(QStringLiteral("actLoad"));
    QCOMPARE(window->project(), before);
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(ModalQuestions::asked(), (QStringList{QStringLiteral("FM-Einstellung laden"),
                                                   QStringLiteral("Projekt laden")}));
    QVERIFY(QFile::exists(kit.workingCopy()));
    QVERIFY(!QFile::exists(kit.path(QStringLiteral("q.fbk"))));
    // The remote control gets the reason as text instead of a box.
    QCOMPARE(window->openFile(kit.path(QStringLiteral("gone.fm"))),
             QStringLiteral("Datei nicht gefunden"));
}

void TestFMManagerFiles::saveAs()
{
    WindowKit kit;
    FMManager* window = kit.open();
    makeDirty(kit);
    const QString target = kit.path(QStringLiteral("saved.fm"));
    ModalQuestions::setNextFileName(target);
    kit.trigger(QStringLiteral("actSave"));
    QVERIFY(!window->isDirty());
    QVERIFY(!window->windowTitle().endsWith(QLatin1String(" *")));
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file1")).toString(), target);
    QSettings saved(target, QSettings::IniFormat);
    QCOMPARE(saved.value(QStringLiteral("channel.2/freq")).toDouble(), 88.8);
    QVERIFY(!saved.contains(QStringLiteral("board/rand")));
    QCOMPARE(QFileInfo(target).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);
}

void TestFMManagerFiles::saveThatCannotBeWrittenKeepsTheMark()
{
    WindowKit kit;
    FMManager* window = kit.open();
    makeDirty(kit);
    QVERIFY(!window->saveFile(kit.path(QStringLiteral("missing/x.fm"))));
    QVERIFY(window->isDirty());
    QVERIFY(window->windowTitle().endsWith(QLatin1String(" *")));
    // Neither the working copy nor the ini can be a save target.
    QVERIFY(!window->saveFile(kit.workingCopy()));
    QVERIFY(!window->saveFile(kit.iniPath()));
    QSettings ini(kit.iniPath(), QSettings::IniFormat);
    QVERIFY(ini.contains(QStringLiteral("Remote/portControl")));
}

void TestFMManagerFiles::failedSaveStopsTheOperation_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");

    const QString missing = QStringLiteral("missing/x.fm");
    const QString noFolder = QStringLiteral("Der Ordner existiert nicht.");
    QTest::newRow("Speichern unter into a missing folder")
        << QStringLiteral("actSave") << missing << noFolder;
    QTest::newRow("Speichern unter onto a folder")
        << QStringLiteral("actSave") << QStringLiteral("folder.fm")
        << QStringLiteral("Das Ziel ist ein Ordner.");
    QTest::newRow("Speichern unter onto the working copy")
        << QStringLiteral("actSave") << QStringLiteral("q.fm")
        << QStringLiteral("Die Datei gehört dem Programm selbst.");
    QTest::newRow("Speichern unter onto the ini")
        << QStringLiteral("actSave") << QStringLiteral("q.ini")
        << QStringLiteral("Die Datei gehört dem Programm selbst.");
    for (const QString& operation :
         {QStringLiteral("actLoad"), QStringLiteral("actNew"), QStringLiteral("actRevert"),
          QStringLiteral("recent"), QStringLiteral("example")}) {
        QTest::addRow("%s after a save into a missing folder", qPrintable(operation))
            << operation << missing << noFolder;
        QTest::addRow("%s after a cancelled save dialog", qPrintable(operation))
            << operation << QString() << QString();
    }
}

// A save that did not happen names the file and why, leaves the recent list
// and the title as they were, and the load that asked for it does not run.
void TestFMManagerFiles::failedSaveStopsTheOperation()
{
    QFETCH(QString, operation);
    QFETCH(QString, target);
    QFETCH(QString, reason);
    WindowKit kit;
    FMManager* window = kit.open();
    QVERIFY(QDir(kit.dir.path()).mkdir(QStringLiteral("folder.fm")));
    const QString project =
        kit.writeProject(QStringLiteral("p.fm"), {{QStringLiteral("channel.1/freq"), "97.0"}});
    const QString other =
        kit.writeProject(QStringLiteral("o.fm"), {{QStringLiteral("channel.1/freq"), "107.0"}});
    window->loadFile(project);
    makeDirty(kit);
    const QString title = window->windowTitle();
    const auto store = window->project();
    const QString chosen = target.isEmpty() ? QString() : kit.path(target);

    if (operation != QLatin1String("actSave"))
        ModalQuestions::setNextAnswer(QMessageBox::Save);
    ModalQuestions::setNextFileName(chosen);
    ModalQuestions::setNextAnswer(QMessageBox::Ok);
    // What a load that went on would open.
    ModalQuestions::setNextFileName(other);
    kit.runLoading(operation, other);

    QCOMPARE(window->project(), store);
    QCOMPARE(store->get(QStringLiteral("channel.1.freq")).toDouble(), 97.0);
    QCOMPARE(store->get(QStringLiteral("channel.2.freq")).toDouble(), 88.8);
    QSettings workingCopy(kit.workingCopy(), QSettings::IniFormat);
    QCOMPARE(workingCopy.value(QStringLiteral("channel.2/freq")).toDouble(), 88.8);
    QVERIFY(window->isDirty());
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file1")).toString(), project);
    QVERIFY(!kit.ini->contains(QStringLiteral("Last/file2")));
    QVERIFY(!ModalQuestions::asked().contains(QStringLiteral("FM-Einstellung laden")));
    QVERIFY(!ModalQuestions::asked().contains(QStringLiteral("Neues Projekt...")));
    if (reason.isEmpty()) {
        QCOMPARE(ModalQuestions::asked().count(QStringLiteral("Nicht gespeichert!")), 0);
        return;
    }
    QCOMPARE(ModalQuestions::asked().last(), QStringLiteral("Nicht gespeichert!"));
    const QString warning = ModalQuestions::askedTexts().last();
    QVERIFY2(warning.contains(QDir::toNativeSeparators(chosen)), qPrintable(warning));
    QVERIFY2(warning.contains(reason), qPrintable(warning));
}

void TestFMManagerFiles::editJustMadeIsAskedAbout_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("title");
    QTest::newRow("Laden") << QStringLiteral("actLoad") << QStringLiteral("Projekt laden");
    QTest::newRow("Neu") << QStringLiteral("actNew") << QStringLiteral("Neues Projekt");
    QTest::newRow("Rücksetzen") << QStringLiteral("actRevert")
                                << QStringLiteral("Projekt zurück setzen?");
    QTest::newRow("recent entry") << QStringLiteral("recent") << QStringLiteral("Projekt laden");
    QTest::newRow("example") << QStringLiteral("example") << QStringLiteral("Projekt laden");
}

// The store knows of an edit at once; the window's own mark follows only at
// its tick, which has not come yet here.
void TestFMManagerFiles::editJustMadeIsAskedAbout()
{
    QFETCH(QString, operation);
    QFETCH(QString, title);
    WindowKit kit;
    FMManager* window = kit.open();
    const QString project =
        kit.writeProject(QStringLiteral("p.fm"), {{QStringLiteral("channel.1/freq"), "97.0"}});
    window->loadFile(project);
    const auto store = window->project();
    QCOMPARE(store->set(QStringLiteral("channel.2.freq"), 88.8), 0);
    ModalQuestions::setNextAnswer(QMessageBox::Cancel);
    kit.runLoading(operation, project);
    QCOMPARE(ModalQuestions::asked(), QStringList{title});
    QCOMPARE(window->project(), store);
    QCOMPARE(store->get(QStringLiteral("channel.2.freq")).toDouble(), 88.8);
    QVERIFY(window->isDirty());
    QVERIFY(window->windowTitle().endsWith(QLatin1String(" *")));
}

void TestFMManagerFiles::newProjectStartsEmpty()
{
    WindowKit kit;
    FMManager* window = kit.open();
    window->project()->set(QStringLiteral("channel.1.freq"), 90.1);
    const QString existing =
        kit.writeProject(QStringLiteral("old.fm"), {{QStringLiteral("channel.1/freq"), "99.9"}});
    ModalQuestions::setNextAnswer(QMessageBox::Discard);
    ModalQuestions::setNextFileName(existing);
    kit.trigger(QStringLiteral("actNew"));
    QVERIFY(window->project()->get(QStringLiteral("channel.1.freq")).toDouble() != 90.1);
    QVERIFY(window->project()->get(QStringLiteral("channel.1.freq")).toDouble() != 99.9);
    QVERIFY(window->windowTitle().endsWith(existing));
    // The working copy the store starts afresh is the owner's alone.
    const QFileDevice::Permissions everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                              QFileDevice::ReadOther | QFileDevice::WriteOther;
    QCOMPARE(QFile::permissions(kit.workingCopy()) & everyone,
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // The file of that name is replaced by a save only, and then keeps a backup.
    QSettings untouched(existing, QSettings::IniFormat);
    QCOMPARE(untouched.value(QStringLiteral("channel.1/freq")).toDouble(), 99.9);
    QVERIFY(window->saveFile(existing));
    QSettings backup(kit.path(QStringLiteral("old.fbk")), QSettings::IniFormat);
    QCOMPARE(backup.value(QStringLiteral("channel.1/freq")).toDouble(), 99.9);
}

void TestFMManagerFiles::unsavedQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("saved");
    QTest::newRow("Cancel stops") << int(QMessageBox::Cancel) << false << false;
    QTest::newRow("Discard goes on") << int(QMessageBox::Discard) << true << false;
    QTest::newRow("Save saves first") << int(QMessageBox::Save) << true << true;
}

void TestFMManagerFiles::unsavedQuestion()
{
    QFETCH(int, answer);
    QFETCH(bool, loaded);
    QFETCH(bool, saved);
    WindowKit kit;
    FMManager* window = kit.open();
    makeDirty(kit);
    const QString project =
        kit.writeProject(QStringLiteral("b.fm"), {{QStringLiteral("channel.1/freq"), "97.0"}});
    const QString target = kit.path(QStringLiteral("before.fm"));
    ModalQuestions::setNextAnswer(QMessageBox::StandardButton(answer));
    if (saved)
        ModalQuestions::setNextFileName(target);
    ModalQuestions::setNextFileName(project);
    kit.trigger(QStringLiteral("actLoad"));
    QCOMPARE(window->project()->get(QStringLiteral("channel.1.freq")).toDouble() == 97.0, loaded);
    QCOMPARE(window->isDirty(), !loaded);
    QCOMPARE(QFile::exists(target), saved);
    QCOMPARE(ModalQuestions::asked().constFirst(), QStringLiteral("Projekt laden"));
    QCOMPARE(ModalQuestions::unanswered(), 0);
    if (saved) {
        QSettings before(target, QSettings::IniFormat);
        QCOMPARE(before.value(QStringLiteral("channel.2/freq")).toDouble(), 88.8);
    }
}

void TestFMManagerFiles::revertWithoutOriginal()
{
    WindowKit kit;
    FMManager* window = kit.open();
    const QString project =
        kit.writeProject(QStringLiteral("c.fm"), {{QStringLiteral("channel.1/freq"), "96.0"}});
    window->loadFile(project);
    window->project()->set(QStringLiteral("channel.1.freq"), 91.0);
    // The edit is asked about at once, not only after the window's tick.
    ModalQuestions::setNextAnswer(QMessageBox::Discard);
    kit.trigger(QStringLiteral("actRevert"));
    QCOMPARE(window->project()->get(QStringLiteral("channel.1.freq")).toDouble(), 96.0);
    QCOMPARE(ModalQuestions::asked(), QStringList{QStringLiteral("Projekt zurück setzen?")});

    ModalQuestions::clear();
    QVERIFY(QFile::remove(project));
    const auto before = window->project();
    ModalQuestions::setNextAnswer(QMessageBox::Ok);
    kit.trigger(QStringLiteral("actRevert"));
    QCOMPARE(window->project(), before);
    QCOMPARE(ModalQuestions::asked(), QStringList{QStringLiteral("Datei existiert nicht!")});
}

void TestFMManagerFiles::recentListKeepsNine()
{
    WindowKit kit;
    FMManager* window = kit.open();
    QStringList opened;
    for (int n = 0; n < 10; ++n) {
        opened.prepend(kit.writeProject(QStringLiteral("p%1.fm").arg(n), {}));
        window->loadFile(opened.constFirst());
    }
    for (int slot = 1; slot <= 9; ++slot)
        QCOMPARE(kit.ini->value(QStringLiteral("Last/file%1").arg(slot)).toString(),
                 opened[slot - 1]);
    QVERIFY(!kit.ini->contains(QStringLiteral("Last/file10")));

    // Slot 3 moves to the top, 1 and 2 move down, 4 to 9 stay.
    window->loadFile(opened[2]);
    const QStringList expected = {opened[2], opened[0], opened[1], opened[3], opened[4],
                                  opened[5], opened[6], opened[7], opened[8]};
    for (int slot = 1; slot <= 9; ++slot)
        QCOMPARE(kit.ini->value(QStringLiteral("Last/file%1").arg(slot)).toString(),
                 expected[slot - 1]);

    // Backslashes and doubled separators name the same entry.
    QString spelled = opened[5];
    spelled.replace(QLatin1Char('/'), QLatin1Char('\\'));
    spelled.insert(spelled.lastIndexOf(QLatin1Char('\\')), QLatin1Char('\\'));
    window->addRecent(spelled);
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file1")).toString(), opened[5]);
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file2")).toString(), expected[0]);
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file6")).toString(), expected[4]);
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file7")).toString(), expected[6]);
}

void TestFMManagerFiles::recentMenu()
{
    WindowKit kit;
    FMManager* window = kit.open();
    QStringList files;
    for (int n = 0; n < 3; ++n) {
        files.prepend(kit.writeProject(QStringLiteral("m%1.fm").arg(n), {}));
        window->loadFile(files.constFirst());
    }
    QVERIFY(QFile::remove(files[1]));
    window->addRecent(kit.path(QStringLiteral("unsaved-new.fm")));
    auto* menu = kit.find<QMenu>(QStringLiteral("menuLast"));
    // Slots: 1 unsaved-new (no file), 2 m2, 3 m1 (removed), 4 m0.
    QTRY_COMPARE_WITH_TIMEOUT(menu->actions().size(), 2, WindowKit::kWaitMs);
    QCOMPARE(menu->actions()[0]->text(), files[0]);
    QCOMPARE(menu->actions()[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+2")));
    QCOMPARE(menu->actions()[1]->text(), files[2]);
    QCOMPARE(menu->actions()[1]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+4")));
    QVERIFY(menu->isEnabled());

    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_4, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file1")).toString(), files[2]);
}

QTEST_MAIN(TestFMManagerFiles)
#include "tst_fmmanagerfiles.moc"
