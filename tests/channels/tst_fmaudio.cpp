// The audio page driven by clicks and typing on a project file: sources and
// playlists added, deleted and renamed, the three source types with their
// forms, typed test-signal values, files added by the file chooser, and the
// page shown for a channel's source from the program window.
#include "AudioPageKit.h"

#include "../main/WindowKit.h"
#include "KeyRecorder.h"

#include <QLineEdit>
#include <QPointer>
#include <QStackedWidget>

class TestFMAudio : public QObject
{
    Q_OBJECT

private slots:
    void buttonsWaitForAStore();
    void attachLeavesTheOldStore();
    void addAndDeleteSources();
    void deleteNeedsANameCell();
    void typeSwitchesTheForm();
    void cutRowsKeepTheirForms();
    void typedFieldWritesOnlyItsValue_data();
    void typedFieldWritesOnlyItsValue();
    void focusingAFieldClearsTheSelection();
    void renameByTyping_data();
    void renameByTyping();
    void goneWithAnEditorOpen();
    void sourcePlayingAPlaylist_data();
    void sourcePlayingAPlaylist();
    void playlistsAddedAndDeleted();
    void filesToAnEmptyProject();
    void filesChosenAndDeleted();
    void selectPlaylistShowsTheSource_data();
    void selectPlaylistShowsTheSource();
    void showAudioFromTheWindow();
};

namespace {

const QStringList kButtons{"Baddsrc", "Bdelsrc", "Baddlist", "Bdellist", "Baddfile", "Bdelfile"};

AudioPageKit::Keys sineAndRamp()
{
    return {{"audio.1/name", "Ton"}, {"audio.1/used", 1},    {"audio.1/type", 0},
            {"audio.1/frq1", 1000},  {"audio.1/frq2", 2000}, {"audio.1/vol1", 50},
            {"audio.1/vol2", 60},    {"audio.1/time", 9},    {"audio.2/name", "Sweep"},
            {"audio.2/used", 1},     {"audio.2/type", 1},    {"audio.2/frq1", 100},
            {"audio.2/frq2", 5000},  {"audio.2/vol1", 20},   {"audio.2/vol2", 80},
            {"audio.2/time", 12}};
}

// Types into a field as the user does: select all, type, Enter.
void typeInto(QSpinBox* field, const QString& text)
{
    QVERIFY(field);
    field->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

// Opens the editor of the current cell with F2, types, commits with Enter.
void renameCurrent(QTableWidget* table, const QString& text)
{
    table->setFocus();
    QTest::keyClick(table, Qt::Key_F2);
    // The editor sits on the viewport beside the test forms, whose fields
    // hold line edits of their own.
    auto* editor = table->viewport()->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits from a queued call.
    QCoreApplication::processEvents();
}

} // namespace

void TestFMAudio::buttonsWaitForAStore()
{
    FMAudio page;
    for (const QString& name : kButtons)
        QVERIFY2(!page.findChild<QPushButton*>(name)->isEnabled(), qPrintable(name));
    QTemporaryDir dir;
    page.attach(QSharedPointer<FMSettings>::create(dir.filePath(QStringLiteral("p.fm"))));
    for (const QString& name : kButtons)
        QVERIFY2(page.findChild<QPushButton*>(name)->isEnabled(), qPrintable(name));
    page.attach({});
    QVERIFY(!page.findChild<QPushButton*>(QStringLiteral("Baddsrc"))->isEnabled());
}

void TestFMAudio::attachLeavesTheOldStore()
{
    AudioPageKit kit;
    auto other = QSharedPointer<FMSettings>::create(kit.path(QStringLiteral("other.fm")));
    other->setAudio(QString());
    kit.page->attach(other);
    QVERIFY(kit.store->subscriptions(kit.page.get()).isEmpty());
    QCOMPARE(kit.column(kit.sources()), QStringList{"Audio-1"});
    kit.store->setAudio(QStringLiteral("/music/a.flac"));
    kit.store->setAudio(QStringLiteral("/music/b.flac"));
    kit.deliver();
    QCOMPARE(kit.column(kit.sources()), QStringList{"Audio-1"});
}

void TestFMAudio::addAndDeleteSources()
{
    AudioPageKit kit;
    kit.click(QStringLiteral("Baddsrc"));
    kit.click(QStringLiteral("Baddsrc"));
    QCOMPARE(kit.column(kit.sources()), (QStringList{"Audio-1", "Audio-2"}));
    QCOMPARE(kit.store->value(QStringLiteral("audio.2.used")).toInt(), 1);
    QCOMPARE(kit.typeBox(1)->currentText(), QStringLiteral("Sinus"));
    QVERIFY(kit.field(1, QStringLiteral("f1")));
    QVERIFY(!kit.field(1, QStringLiteral("secs")));

    QTest::mouseClick(kit.sources()->viewport(), Qt::LeftButton, {},
                      AudioPageKit::cellCentre(kit.sources(), 0));
    kit.click(QStringLiteral("Bdelsrc"));
    QCOMPARE(kit.store->value(QStringLiteral("audio.1.used")).toInt(), 0);
    QCOMPARE(kit.column(kit.sources()), QStringList{"Audio-2"});

    // A deleted source is taken again by the next one added.
    kit.click(QStringLiteral("Baddsrc"));
    QCOMPARE(kit.column(kit.sources()), (QStringList{"Audio-1", "Audio-2"}));
}

void TestFMAudio::deleteNeedsANameCell()
{
    AudioPageKit kit({{"audio.1/name", "Datei"},
                      {"audio.1/type", 2},
                      {"audio.1/file", "/music/a.flac"},
                      {"audio.2/name", "Zwei"}});
    QCOMPARE(kit.column(kit.sources()), (QStringList{"Datei", "Zwei"}));
    QTest::mouseClick(kit.sources()->viewport(), Qt::LeftButton, {},
                      AudioPageKit::cellCentre(kit.sources(), 0, 2));
    QVERIFY(kit.sources()->item(0, 2)->isSelected());
    kit.click(QStringLiteral("Bdelsrc"));
    QCOMPARE(kit.store->value(QStringLiteral("audio.1.used"), 1).toInt(), 1);
    QCOMPARE(kit.column(kit.sources()), (QStringList{"Datei", "Zwei"}));
    QCOMPARE(kit.sources()->currentRow(), 1);
    QCOMPARE(kit.sources()->currentColumn(), 0);
}

void TestFMAudio::typeSwitchesTheForm()
{
    AudioPageKit kit(sineAndRamp());
    QPointer<QWidget> sine = kit.form(0);
    QVERIFY(sine && !kit.field(0, QStringLiteral("secs")));
    QCOMPARE(kit.field(0, QStringLiteral("f2"))->value(), 2000);

    QTest::keyClick(kit.typeBox(0), Qt::Key_Down);
    kit.deliver();
    QCOMPARE(kit.store->audioSource(1).type, int(AudioSource::Ramp));
    QTRY_VERIFY(sine.isNull());
    QCOMPARE(kit.form(0)->findChildren<QSpinBox*>().size(), 5);
    QCOMPARE(kit.field(0, QStringLiteral("secs"))->value(), 9);
    // The table asks for the room its widest form needs.
    QVERIFY(kit.sources()->minimumWidth() >
            kit.form(0)->sizeHint().width() + kit.typeBox(0)->sizeHint().width());
    QCOMPARE(kit.field(0, QStringLiteral("v1"))->value(), 50);

    QTest::keyClick(kit.typeBox(0), Qt::Key_Up);
    kit.deliver();
    QCOMPARE(kit.store->audioSource(1).type, int(AudioSource::Sine));
    QCOMPARE(kit.form(0)->findChildren<QSpinBox*>().size(), 4);
    QCOMPARE(kit.field(0, QStringLiteral("f1"))->value(), 1000);

    kit.typeBox(0)->setFocus();
    QTest::keyClick(kit.typeBox(0), Qt::Key_End);
    kit.deliver();
    QCOMPARE(kit.store->audioSource(1).type, int(AudioSource::File));
    QVERIFY(!kit.form(0));
    QVERIFY(kit.sources()->item(0, 2));
    QCOMPARE(kit.sources()->item(0, 2)->text(), QString());
    // The other row kept its form and values.
    QCOMPARE(kit.field(1, QStringLiteral("secs"))->value(), 12);
}

void TestFMAudio::cutRowsKeepTheirForms()
{
    AudioPageKit kit(sineAndRamp());
    kit.store->removeAudio(1);
    kit.deliver();
    QCOMPARE(kit.column(kit.sources()), QStringList{"Sweep"});
    QCOMPARE(kit.field(0, QStringLiteral("f2"))->value(), 5000);
    QVERIFY(kit.field(0, QStringLiteral("secs")));

    // Row 1 was cut with its form; building it again must not reuse it.
    kit.store->setAudio(QString());
    kit.deliver();
    QCOMPARE(kit.column(kit.sources()), (QStringList{"Ton", "Sweep"}));
    QVERIFY(!kit.field(0, QStringLiteral("secs")));
    QCOMPARE(kit.field(0, QStringLiteral("f1"))->value(), 1000);
    QCOMPARE(kit.field(1, QStringLiteral("secs"))->value(), 12);

    // A form replaced by a file cell is gone as well.
    kit.store->setAudioType(2, AudioSource::File);
    kit.deliver();
    kit.store->setAudioType(2, AudioSource::Ramp);
    kit.deliver();
    QCOMPARE(kit.field(1, QStringLiteral("v2"))->value(), 80);
}

void TestFMAudio::typedFieldWritesOnlyItsValue_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("stored");
    QTest::newRow("sine left frequency") << 0 << "f1"
                                         << "1230"
                                         << "frq1" << 1230;
    QTest::newRow("sine right volume") << 0 << "v2"
                                       << "7"
                                       << "vol2" << 7;
    QTest::newRow("ramp end frequency") << 1 << "f2"
                                        << "880"
                                        << "frq2" << 880;
    QTest::newRow("ramp duration") << 1 << "secs"
                                   << "33"
                                   << "time" << 33;
}

void TestFMAudio::typedFieldWritesOnlyItsValue()
{
    QFETCH(int, row);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, key);
    QFETCH(int, stored);
    AudioPageKit kit(sineAndRamp());
    const AudioSource before = kit.store->audioSource(row + 1);
    KeyRecorder recorder;
    kit.store->subscribe(QStringLiteral("audio"), &recorder);

    typeInto(kit.field(row, field), typed);
    recorder.collect();
    kit.deliver();

    const QString written = QStringLiteral("audio.%1/%2").arg(row + 1).arg(key);
    QCOMPARE(recorder.keys(), QStringList{written});
    QCOMPARE(kit.store->value(written).toInt(), stored);
    AudioSource expected = before;
    const std::map<QString, quint16*> fields{{"frq1", &expected.frq1},
                                             {"frq2", &expected.frq2},
                                             {"vol1", &expected.vol1},
                                             {"vol2", &expected.vol2},
                                             {"time", &expected.time}};
    *fields.at(key) = quint16(stored);
    QCOMPARE(kit.store->audioSource(row + 1), expected);
    // The sine form shows no duration: it stays as stored.
    QCOMPARE(kit.store->audioSource(1).time, quint16(9));
}

void TestFMAudio::focusingAFieldClearsTheSelection()
{
    AudioPageKit kit(sineAndRamp());
    QVERIFY(QTest::qWaitForWindowActive(kit.page.get()));
    QTest::mouseClick(kit.sources()->viewport(), Qt::LeftButton, {},
                      AudioPageKit::cellCentre(kit.sources(), 1));
    QVERIFY(!kit.sources()->selectedItems().isEmpty());
    kit.field(0, QStringLiteral("v1"))->setFocus(Qt::TabFocusReason);
    QVERIFY(kit.field(0, QStringLiteral("v1"))->hasFocus());
    QVERIFY(kit.sources()->selectedItems().isEmpty());
}

void TestFMAudio::renameByTyping_data()
{
    QTest::addColumn<bool>("playlist");
    QTest::addColumn<QString>("key");
    QTest::newRow("a source") << false << "audio.1.name";
    QTest::newRow("a playlist") << true << "playlist.1.name";
}

void TestFMAudio::renameByTyping()
{
    QFETCH(bool, playlist);
    QFETCH(QString, key);
    AudioPageKit kit({{"audio.1/name", "Alt"}, {"playlist.1/0", "/music/a.flac"}});
    QVERIFY(QTest::qWaitForWindowActive(kit.page.get()));
    QTableWidget* table = playlist ? static_cast<QTableWidget*>(kit.playlists())
                                   : static_cast<QTableWidget*>(kit.sources());
    table->setCurrentCell(0, 0);
    renameCurrent(table, QStringLiteral("Neu"));
    kit.deliver();
    QCOMPARE(kit.store->value(key).toString(), QStringLiteral("Neu"));
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Neu"));
    QCOMPARE(table->item(0, 0)->data(Qt::UserRole).toInt(), 1);
}

void TestFMAudio::goneWithAnEditorOpen()
{
    AudioPageKit kit({{"audio.1/name", "Alt"}, {"audio.1/type", 2}});
    QVERIFY(QTest::qWaitForWindowActive(kit.page.get()));
    kit.sources()->setCurrentCell(0, 0);
    kit.sources()->setFocus();
    QTest::keyClick(kit.sources(), Qt::Key_F2);
    auto* editor =
        kit.sources()->viewport()->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("Neu"));
    // The window's close commits the editor while the page goes.
    kit.page.reset();
    QCOMPARE(kit.store->audioSource(1).name, QStringLiteral("Alt"));
}

void TestFMAudio::sourcePlayingAPlaylist_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("named playlist") << "Rock"
                                    << "playlist.3 (Rock)";
    QTest::newRow("playlist without a name") << ""
                                             << "playlist.3";
}

void TestFMAudio::sourcePlayingAPlaylist()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    AudioPageKit::Keys keys{{"audio.1/name", "Liste"},
                            {"audio.1/type", 2},
                            {"audio.1/file", "playlist.3"},
                            {"playlist.3/0", "/music/a.flac"}};
    if (!name.isEmpty())
        keys.append({"playlist.3/name", name});
    AudioPageKit kit(keys);
    const QTableWidgetItem* file = kit.sources()->item(0, 2);
    QVERIFY(file);
    QCOMPARE(file->text(), shown);
    QCOMPARE(file->toolTip(), shown);
    QCOMPARE(file->data(Qt::UserRole).toString(), QStringLiteral("playlist.3"));
    QCOMPARE(kit.column(kit.playlists()),
             QStringList{name.isEmpty() ? QStringLiteral("Playlist.3") : name});

    // Renaming the playlist shows in the source table.
    kit.playlists()->setCurrentCell(0, 0);
    renameCurrent(kit.playlists(), QStringLiteral("Jazz"));
    kit.deliver();
    QCOMPARE(kit.sources()->item(0, 2)->text(), QStringLiteral("playlist.3 (Jazz)"));
}

void TestFMAudio::playlistsAddedAndDeleted()
{
    AudioPageKit kit;
    QCOMPARE(kit.page->currentPlaylist(), 1);
    kit.click(QStringLiteral("Baddlist"));
    kit.click(QStringLiteral("Baddlist"));
    QCOMPARE(kit.column(kit.playlists()), (QStringList{"Playlist.1", "Playlist.2"}));
    QCOMPARE(kit.playlists()->currentRow(), 1);
    QCOMPARE(kit.page->currentPlaylist(), 2);

    kit.store->addPlaylistFiles(1, -1, {kit.path(QStringLiteral("a.flac"))});
    kit.deliver();
    QCOMPARE(kit.page->currentPlaylist(), 2);
    QCOMPARE(kit.files()->rowCount(), 0);

    kit.click(QStringLiteral("Bdellist"));
    QCOMPARE(kit.column(kit.playlists()), QStringList{"Playlist.1"});
    QCOMPARE(kit.page->currentPlaylist(), 1);
    QCOMPARE(kit.column(kit.files()), QStringList{kit.path(QStringLiteral("a.flac"))});
    QCOMPARE(kit.store->playlists().keys(), QList<int>{1});

    kit.click(QStringLiteral("Bdellist"));
    QCOMPARE(kit.playlists()->rowCount(), 0);
    QCOMPARE(kit.files()->rowCount(), 0);
    QCOMPARE(kit.page->currentPlaylist(), 1);
    QVERIFY(kit.store->playlists().isEmpty());
    QVERIFY(!kit.store->value(QStringLiteral("playlist.1.0")).isValid());
}

void TestFMAudio::filesToAnEmptyProject()
{
    AudioPageKit kit;
    QCOMPARE(kit.playlists()->rowCount(), 0);
    const QStringList chosen{kit.path(QStringLiteral("a.flac")), kit.path(QStringLiteral("b.ogg"))};
    ModalQuestions::setNextFileNames(chosen);
    kit.click(QStringLiteral("Baddfile"));
    QCOMPARE(ModalQuestions::asked(), QStringList{"Audio Dateien hinzufügen"});
    QCOMPARE(kit.store->playlist(1), chosen);
    QCOMPARE(kit.column(kit.playlists()), QStringList{"Playlist.1"});
    QCOMPARE(kit.playlists()->item(0, 0)->data(Qt::UserRole).toInt(), 1);
    QCOMPARE(kit.column(kit.files()), chosen);
}

void TestFMAudio::filesChosenAndDeleted()
{
    AudioPageKit kit({{"playlist.1/0", "/music/a.flac"},
                      {"playlist.1/1", "/music/b.flac"},
                      {"playlist.1/2", "/music/c.flac"}});
    // Nothing chosen: nothing changes.
    kit.click(QStringLiteral("Baddfile"));
    QCOMPARE(kit.store->playlist(1).size(), 3);
    // Nothing selected: nothing deleted.
    kit.click(QStringLiteral("Bdelfile"));
    QCOMPARE(kit.store->playlist(1).size(), 3);

    QTest::mouseClick(kit.files()->viewport(), Qt::LeftButton, {},
                      AudioPageKit::cellCentre(kit.files(), 0));
    QTest::mouseClick(kit.files()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      AudioPageKit::cellCentre(kit.files(), 2));
    kit.click(QStringLiteral("Bdelfile"));
    QCOMPARE(kit.store->playlist(1), QStringList{"/music/b.flac"});
    QCOMPARE(kit.column(kit.files()), QStringList{"/music/b.flac"});
}

void TestFMAudio::selectPlaylistShowsTheSource_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("playlist");
    QTest::newRow("file source of playlist 2") << 3 << 2 << 2;
    QTest::newRow("reference in upper case") << 4 << 3 << 2;
    QTest::newRow("sine source only selects") << 1 << 0 << 1;
    QTest::newRow("file source of a file") << 2 << 1 << 1;
    QTest::newRow("unknown id changes nothing") << 9 << -1 << 1;
}

void TestFMAudio::selectPlaylistShowsTheSource()
{
    QFETCH(int, source);
    QFETCH(int, row);
    QFETCH(int, playlist);
    AudioPageKit kit({{"audio.1/name", "Ton"},
                      {"audio.2/name", "Datei"},
                      {"audio.2/type", 2},
                      {"audio.2/file", "/music/x.wav"},
                      {"audio.3/name", "Liste"},
                      {"audio.3/type", 2},
                      {"audio.3/file", "playlist.2"},
                      {"audio.4/name", "LISTE"},
                      {"audio.4/type", 2},
                      {"audio.4/file", "PLAYLIST.2"},
                      {"playlist.1/0", "/music/a.flac"},
                      {"playlist.2/0", "/music/b.flac"}});
    kit.sources()->setCurrentCell(-1, -1);
    kit.page->selectPlaylist(source);
    QCOMPARE(kit.sources()->currentRow(), row);
    QCOMPARE(kit.page->currentPlaylist(), playlist);
    QCOMPARE(kit.column(kit.files()), kit.store->playlist(playlist));
}

void TestFMAudio::showAudioFromTheWindow()
{
    WindowKit window;
    window.writeProject(QStringLiteral("q.fm"), {{"audio.1/name", "Ton"},
                                                 {"audio.2/name", "Liste"},
                                                 {"audio.2/type", "2"},
                                                 {"audio.2/file", "playlist.2"},
                                                 {"playlist.1/0", "/music/a.flac"},
                                                 {"playlist.2/0", "/music/b.flac"}});
    FMManager* manager = window.open();
    manager->showAudio(2);
    QCOMPARE(window.find<QStackedWidget>(QStringLiteral("stackedWidget"))->currentIndex(), 1);
    auto* page = window.find<FMAudio>(QStringLiteral("FMAudioUI"));
    QVERIFY(page);
    QCOMPARE(page->findChild<SrcAudio*>(QStringLiteral("sources"))->currentRow(), 1);
    QCOMPARE(page->currentPlaylist(), 2);
    QCOMPARE(page->findChild<SrcFiles*>(QStringLiteral("files"))->item(0, 0)->text(),
             QStringLiteral("/music/b.flac"));
    window.close();
}

QTEST_MAIN(TestFMAudio)
#include "tst_fmaudio.moc"
