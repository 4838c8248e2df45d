// The audio page's tables as drag sources and drop targets: drags are taken
// from the tables' own drag data, drops are delivered as events on their
// viewports. Also the file table's context menu and the song information.
#include "AudioPageKit.h"

#include "KeyRecorder.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>

class TestAudioTables : public QObject
{
    Q_OBJECT

private slots:
    void draggedFilesKeepTheirNames_data();
    void draggedFilesKeepTheirNames();
    void urlDrops_data();
    void urlDrops();
    void urlsFromTheFileExplorerEnter();
    void sourceDrops_data();
    void sourceDrops();
    void dragTexts();
    void playNow_data();
    void playNow();
    void noMenuOverAnEmptyArea();
    void focusInFollowsTheFocus();
    void digitBeyondTheRangeSaysWhy_data();
    void digitBeyondTheRangeSaysWhy();
    void songInfo();
    void largePlaylistDrawnOncePerPass();
    void songColoursOnWhite();
};

namespace {

const QString kA = QStringLiteral("/music/a.flac");
const QString kB = QStringLiteral("/music/b.flac");
const QString kNew = QStringLiteral("/new/n.ogg");

AudioPageKit::Keys twoPlaylists()
{
    return {{"playlist.1/0", kA},
            {"playlist.1/1", kB},
            {"playlist.2/name", "Rock"},
            {"playlist.2/0", "/rock/r.mp3"},
            {"audio.1/name", "Datei"},
            {"audio.1/type", 2},
            {"audio.1/file", "/music/x.wav"},
            {"audio.2/name", "Ton"}};
}

QMimeData* urlData(const QList<QUrl>& urls)
{
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

QMimeData* textData(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}

SongInfo song(const QString& path, int kind, int sampleRate = 44100, int channels = 2)
{
    SongInfo info;
    info.path = path;
    info.kind = kind;
    info.sampleRate = sampleRate;
    info.channels = channels;
    return info;
}

void setBase(QTableWidget* table, const QColor& colour)
{
    QPalette palette = table->palette();
    palette.setColor(QPalette::Base, colour);
    table->setPalette(palette);
}

} // namespace

void TestAudioTables::draggedFilesKeepTheirNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("hash") << "a#b.flac";
    QTest::newRow("percent and hex digits") << "x%41y.flac";
    QTest::newRow("encoded blank") << "x%20y.flac";
    QTest::newRow("question mark") << "what?.ogg";
    QTest::newRow("blank") << "a b.wav";
}

void TestAudioTables::draggedFilesKeepTheirNames()
{
    QFETCH(QString, name);
    AudioPageKit kit(twoPlaylists());
    const QString path = kit.path(name);
    kit.store->addPlaylistFiles(1, -1, {path});
    kit.deliver();
    QCOMPARE(kit.files()->item(2, 0)->text(), path);

    std::unique_ptr<QMimeData> drag(AudioPageKit::dragRows(kit.files(), {2}));
    QCOMPARE(drag->urls().size(), 1);
    QCOMPARE(drag->urls().constFirst().toLocalFile(), path);

    // onto playlist 2, and as a file source's file
    QVERIFY(AudioPageKit::dragAndDrop(kit.playlists(), AudioPageKit::cellCentre(kit.playlists(), 1),
                                      drag.get()));
    QCOMPARE(kit.store->playlist(2), (QStringList{"/rock/r.mp3", path}));
    QVERIFY(AudioPageKit::dragAndDrop(kit.sources(), AudioPageKit::cellCentre(kit.sources(), 0, 2),
                                      drag.get()));
    kit.deliver();
    QCOMPARE(kit.store->audioSource(1).file, path);
    QCOMPARE(kit.sources()->item(0, 2)->text(), name);
}

void TestAudioTables::urlDrops_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("row"); // -1: below the last row
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<bool>("acceptedWhileDragging");
    QTest::addColumn<QStringList>("playlist1");
    QTest::addColumn<QStringList>("playlist2");
    const QList<QUrl> one{QUrl::fromLocalFile(kNew)};
    const QStringList list1{kA, kB};
    const QStringList list2{"/rock/r.mp3"};
    QTest::newRow("files: below the last row appends")
        << "files" << -1 << one << true << QStringList{kA, kB, kNew} << list2;
    QTest::newRow("files: onto a row inserts before it")
        << "files" << 1 << one << true << QStringList{kA, kNew, kB} << list2;
    QTest::newRow("files: several in order")
        << "files" << 0 << QList<QUrl>{QUrl::fromLocalFile(kNew), QUrl::fromLocalFile("/new/m.wav")}
        << true << QStringList{kNew, "/new/m.wav", kA, kB} << list2;
    QTest::newRow("files: a web address is no file")
        << "files" << -1 << QList<QUrl>{QUrl("http://example.org/a.mp3")} << true << list1 << list2;
    QTest::newRow("playlists: onto a row appends to that playlist")
        << "playlists" << 1 << one << true << list1 << QStringList{"/rock/r.mp3", kNew};
    QTest::newRow("playlists: outside a row is refused")
        << "playlists" << -1 << one << false << list1 << list2;
}

void TestAudioTables::urlDrops()
{
    QFETCH(QString, table);
    QFETCH(int, row);
    QFETCH(QList<QUrl>, urls);
    QFETCH(bool, acceptedWhileDragging);
    QFETCH(QStringList, playlist1);
    QFETCH(QStringList, playlist2);
    AudioPageKit kit(twoPlaylists());
    QTableWidget* target = kit.find<QTableWidget>(table);
    const QPoint at =
        row < 0 ? AudioPageKit::belowRows(target) : AudioPageKit::cellCentre(target, row);
    std::unique_ptr<QMimeData> data(urlData(urls));
    QCOMPARE(AudioPageKit::dragAndDrop(target, at, data.get()), acceptedWhileDragging);
    kit.deliver();
    QCOMPARE(kit.store->playlist(1), playlist1);
    QCOMPARE(kit.store->playlist(2), playlist2);
    QCOMPARE(kit.column(kit.files()), playlist1);
}

void TestAudioTables::urlsFromTheFileExplorerEnter()
{
    AudioPageKit kit(twoPlaylists());
    std::unique_ptr<QMimeData> urls(urlData({QUrl::fromLocalFile(kNew)}));
    std::unique_ptr<QMimeData> text(textData(QStringLiteral("Playlist.2")));
    QVERIFY(AudioPageKit::entered(kit.files(), urls.get()));
    QVERIFY(AudioPageKit::entered(kit.playlists(), urls.get()));
    QVERIFY(AudioPageKit::entered(kit.sources(), urls.get()));
    QVERIFY(AudioPageKit::entered(kit.sources(), text.get()));
}

void TestAudioTables::sourceDrops_data()
{
    QTest::addColumn<QString>("dragged"); // "playlist 2", "source 1 file", text, or a URL
    QTest::addColumn<int>("column");      // where on row 0 (the file source); -1 below the rows
    QTest::addColumn<QString>("file");    // audio.1.file afterwards
    QTest::addColumn<QString>("shown");   // its cell text
    QTest::addColumn<QStringList>("names");
    const QString x = QStringLiteral("/music/x.wav");
    const QStringList two{"Datei", "Ton"};
    QTest::newRow("a playlist onto a file source") << "playlist 2" << 2 << "Playlist.2"
                                                   << "Playlist.2 (Rock)" << two;
    QTest::newRow("text onto a file source") << "text:/music/y.ogg" << 2 << "/music/y.ogg"
                                             << "y.ogg" << two;
    QTest::newRow("text onto a name cell is refused")
        << "text:/music/y.ogg" << 0 << x << "x.wav" << two;
    QTest::newRow("a URL onto a name cell is refused")
        << "url:/music/y.ogg" << 0 << x << "x.wav" << two;
    QTest::newRow("a web address is refused")
        << "url:http://example.org/y.ogg" << 2 << x << "x.wav" << two;
    QTest::newRow("text onto the type cell adds a file source")
        << "text:/music/y.ogg" << 1 << x << "x.wav" << QStringList{"Datei", "Ton", "Audio-3"};
    QTest::newRow("a playlist below the rows adds a file source")
        << "playlist 2" << -1 << x << "x.wav" << QStringList{"Datei", "Ton", "Audio-3"};
}

void TestAudioTables::sourceDrops()
{
    QFETCH(QString, dragged);
    QFETCH(int, column);
    QFETCH(QString, file);
    QFETCH(QString, shown);
    QFETCH(QStringList, names);
    AudioPageKit kit(twoPlaylists());
    std::unique_ptr<QMimeData> data;
    if (dragged == QLatin1String("playlist 2"))
        data.reset(AudioPageKit::dragRows(kit.playlists(), {1}));
    else if (dragged.startsWith(QLatin1String("text:")))
        data.reset(textData(dragged.mid(5)));
    else
        data.reset(urlData(
            {QUrl(dragged.startsWith(QLatin1String("url:/")) ? QUrl::fromLocalFile(dragged.mid(4))
                                                             : QUrl(dragged.mid(4)))}));
    const QPoint at = column < 0 ? AudioPageKit::belowRows(kit.sources())
                                 : AudioPageKit::cellCentre(kit.sources(), 0, column);
    AudioPageKit::dragAndDrop(kit.sources(), at, data.get());
    kit.deliver();
    QCOMPARE(kit.store->audioSource(1).file, file);
    QCOMPARE(kit.store->audioSource(1).name, QStringLiteral("Datei"));
    QCOMPARE(kit.sources()->item(0, 0)->data(Qt::UserRole).toInt(), 1);
    QCOMPARE(kit.sources()->item(0, 2)->text(), shown);
    QCOMPARE(kit.column(kit.sources()), names);
    if (names.size() == 3) {
        QCOMPARE(kit.store->audioSource(3).type, int(AudioSource::File));
        QVERIFY(!kit.store->audioSource(3).file.isEmpty());
    }
}

void TestAudioTables::dragTexts()
{
    AudioPageKit kit(twoPlaylists());
    std::unique_ptr<QMimeData> name(AudioPageKit::dragRows(kit.sources(), {0}, 0));
    QCOMPARE(name->text(), QStringLiteral("1"));
    std::unique_ptr<QMimeData> file(AudioPageKit::dragRows(kit.sources(), {0}, 2));
    QCOMPARE(file->text(), QStringLiteral("/music/x.wav"));
    std::unique_ptr<QMimeData> list(AudioPageKit::dragRows(kit.playlists(), {0}));
    QCOMPARE(list->text(), QStringLiteral("Playlist.1"));
}

void TestAudioTables::playNow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("removedMeanwhile");
    QTest::addColumn<QStringList>("published");
    QTest::newRow("second file of playlist 1") << 1 << false << QStringList{"play.1"};
    QTest::newRow("first file") << 0 << false << QStringList{"play.1"};
    QTest::newRow("a file gone from the playlist") << 1 << true << QStringList{};
}

void TestAudioTables::playNow()
{
    QFETCH(int, row);
    QFETCH(bool, removedMeanwhile);
    QFETCH(QStringList, published);
    AudioPageKit kit(twoPlaylists());
    KeyRecorder recorder;
    kit.store->subscribe(QStringLiteral("play"), &recorder);
    SrcFiles* files = kit.files();
    const QPoint at = AudioPageKit::cellCentre(files, row);
    QCursor::setPos(files->viewport()->mapToGlobal(at));

    // The menu runs its own loop; the timer chooses "Jetzt abspielen".
    bool shown = false;
    QTimer::singleShot(0, files, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        shown = menu != nullptr;
        if (!menu)
            return;
        if (removedMeanwhile)
            kit.store->removePlaylistFiles(1, {kA});
        QAction* play = menu->findChild<QAction*>(QStringLiteral("actPlayNow"));
        QCOMPARE(play->text(), QStringLiteral("Jetzt abspielen"));
        play->trigger();
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, files->viewport()->mapToGlobal(at));
    QApplication::sendEvent(files->viewport(), &event);
    QVERIFY(shown);
    recorder.collect();
    QCOMPARE(recorder.keys(), published);
    if (!published.isEmpty())
        QCOMPARE(recorder.values().constFirst().toInt(), row);
}

void TestAudioTables::noMenuOverAnEmptyArea()
{
    AudioPageKit kit(twoPlaylists());
    SrcFiles* files = kit.files();
    const QPoint at = AudioPageKit::belowRows(files);
    QCursor::setPos(files->viewport()->mapToGlobal(at));
    bool shown = false;
    QTimer::singleShot(0, files, [&shown] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            shown = true;
            popup->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, files->viewport()->mapToGlobal(at));
    QApplication::sendEvent(files->viewport(), &event);
    QCoreApplication::processEvents();
    QVERIFY(!shown);
}

void TestAudioTables::focusInFollowsTheFocus()
{
    QWidget window;
    auto* other = new QLineEdit(&window);
    auto* box = new HuxSpinBox(&window);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(other);
    layout->addWidget(box);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus(Qt::OtherFocusReason);
    QList<bool> focusedWhenTold;
    connect(box, &HuxSpinBox::focusIn, box,
            [&focusedWhenTold, box] { focusedWhenTold.append(box->hasFocus()); });
    QTest::keyClick(other, Qt::Key_Tab);
    QCOMPARE(focusedWhenTold, QList<bool>{true});
}

// Adding files changes a playlist item by item, each with its notification;
// the page draws its tables once for all of them.
void TestAudioTables::largePlaylistDrawnOncePerPass()
{
    AudioPageKit kit(AudioPageKit::Keys{{"playlist.1/0", "/m/first.flac"}});
    QSignalSpy playlistsDrawn(kit.playlists()->model(), &QAbstractItemModel::rowsRemoved);
    QStringList items;
    for (int n = 0; n < 1000; ++n)
        items.append(QStringLiteral("/m/%1.flac").arg(n, 4, 10, QLatin1Char('0')));
    kit.store->addPlaylistFiles(1, -1, items);
    kit.deliver();
    QCOMPARE(playlistsDrawn.size(), 1);
    QCOMPARE(kit.files()->rowCount(), 1001);
    QVERIFY(kit.files()->item(1000, 0)->text().endsWith(QLatin1String("0999.flac")));
}

void TestAudioTables::digitBeyondTheRangeSaysWhy_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("marked");
    QTest::newRow("30000 Hz where 22000 is the most") << "30000" << 3000 << true;
    QTest::newRow("a value in range") << "2000" << 2000 << false;
}

// A sine frequency field as the test-signal form has it.
void TestAudioTables::digitBeyondTheRangeSaysWhy()
{
    QFETCH(QString, typed);
    QFETCH(int, value);
    QFETCH(bool, marked);
    HuxSpinBox box;
    box.setRange(10, 22000);
    box.setSuffix(QStringLiteral(" Hz"));
    box.setToolTip(QStringLiteral("Frequenz"));
    box.show();
    QApplication::setActiveWindow(&box);
    box.selectAll();
    QTest::keyClicks(&box, typed);
    QCOMPARE(box.value(), value);
    QCOMPARE(box.toolTip(), marked ? QStringLiteral("Erlaubt: 10 bis 22000 Hz")
                                   : QStringLiteral("Frequenz"));
    QCOMPARE(box.styleSheet().contains(QLatin1String("border")), marked);
    // The next change of the text ends the mark.
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(box.toolTip(), QStringLiteral("Frequenz"));
    QCOMPARE(box.styleSheet(), QString());
}

void TestAudioTables::songInfo()
{
    AudioPageKit kit({{"playlist.1/0", "/m/a.flac"},
                      {"playlist.1/1", "/m/b.mp3"},
                      {"playlist.1/2", "/m/c.wav"},
                      {"playlist.1/3", "/m/d.ogg"},
                      {"playlist.1/4", "/m/e.ogg"}});
    // On a white base every hue is white; a grey one shows them.
    setBase(kit.files(), QColor(128, 128, 128));
    SongInfo a = song(QStringLiteral("/m/a.flac"), 4);
    a.tags = {{"Title", "Eins"}, {"Artist", "Band"}};
    SongInfo b = song(QStringLiteral("/m/b.mp3"), 0);
    const SongInfo c = song(QStringLiteral("/m/c.wav"), 3, 48000, 1);
    const SongInfo d = song(QStringLiteral("/m/d.ogg"), 3, 32000, 6);
    kit.store->setSongInfo(1, {a, b, c, d});
    kit.deliver();

    QTableWidget* files = kit.files();
    QCOMPARE(files->item(0, 0)->toolTip(),
             QStringLiteral("44.1 kHz Stereo\nArtist: Band\nTitle: Eins"));
    QCOMPARE(files->item(1, 0)->toolTip(),
             QStringLiteral("dieser Song kann nicht dekodiert werden!"));
    QCOMPARE(files->item(2, 0)->toolTip(), QStringLiteral("48 kHz Mono"));
    // Neither mono nor stereo and no tags: nothing to tell.
    QCOMPARE(files->item(3, 0)->toolTip(), QString());
    QCOMPARE(files->item(4, 0)->toolTip(), QString());
    QCOMPARE(files->item(4, 0)->background().style(), Qt::NoBrush);

    const QColor even = files->item(0, 0)->background().color();
    const QColor broken = files->item(1, 0)->background().color();
    const QColor alsoEven = files->item(2, 0)->background().color();
    const QColor odd = files->item(3, 0)->background().color();
    QCOMPARE(files->item(0, 0)->background().style(), Qt::SolidPattern);
    QCOMPARE(even.hslHue(), 120);
    QCOMPARE(odd.hslHue(), 120);
    QCOMPARE(alsoEven, even);
    QVERIFY(even.lightness() < odd.lightness());
    QCOMPARE(broken.hslHue(), 0);

    // The shown rows follow a changed song.
    b.kind = 2;
    b.sampleRate = 32000;
    b.channels = 2;
    kit.store->setSongInfo(1, {b});
    kit.deliver();
    QCOMPARE(files->item(1, 0)->toolTip(), QStringLiteral("32 kHz Stereo"));
    QCOMPARE(files->item(1, 0)->background().color().rgba(), odd.rgba());
}

void TestAudioTables::songColoursOnWhite()
{
    AudioPageKit kit({{"playlist.1/0", "/m/a.flac"},
                      {"playlist.1/1", "/m/b.flac"},
                      {"playlist.1/2", "/m/c.flac"}});
    setBase(kit.files(), Qt::white);
    const SongInfo a = song(QStringLiteral("/m/a.flac"), 4);
    const SongInfo b = song(QStringLiteral("/m/b.flac"), 4);
    const SongInfo c = song(QStringLiteral("/m/c.flac"), -1);
    kit.store->setSongInfo(1, {a, b, c});
    kit.deliver();
    const auto shade = [&kit](int row) {
        return kit.files()->item(row, 0)->background().color().rgba();
    };
    QCOMPARE(shade(0), QColor(187, 187, 187).rgba()); // white darker by 136 %
    QCOMPARE(shade(1), QColor(Qt::white).rgba());
    QCOMPARE(shade(2), QColor(Qt::white).rgba());
    QCOMPARE(kit.files()->item(2, 0)->toolTip(),
             QStringLiteral("dieser Song kann nicht dekodiert werden!"));
}

QTEST_MAIN(TestAudioTables)
#include "tst_audiotables.moc"
