// The control server's commands over a real loopback socket: every reply
// form, the store's error texts, the usage lines, the signals to the main
// window, and the file commands on a temporary folder.
#include "ServerKit.h"

#include <QSignalSpy>

namespace {

const QString kInfo = QStringLiteral("modul.info Quorvin Generator v4.66");
const QString kCommands =
    QStringLiteral("commands: REG UNR GET SET ADD DEL NEW LOAD SAVE CD DIR LIST HELP VER");

} // namespace

class TestFMServerCommands : public QObject
{
    Q_OBJECT

private slots:
    void replies_data();
    void replies();
    void storeChangesBehindReplies();
    void registrationsAreBounded();
    void getOfAFamilyListsEveryKey();
    void boardSettingsAndOnAir();
    void newProject();
    void loadProject_data();
    void loadProject();
    void saveProject_data();
    void saveProject();
    void changeDirectory();
    void listDirectory_data();
    void listDirectory();
};

void TestFMServerCommands::replies_data()
{
    QTest::addColumn<QList<QByteArray>>("before");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QStringList>("replies");
    const QList<QByteArray> none;

    // splitting and the empty line
    QTest::newRow("empty line") << none << QByteArray("   ") << QStringList{};
    QTest::newRow("unknown command") << none << QByteArray("FOO bar") << QStringList{kCommands};
    QTest::newRow("AIR is not listed but known")
        << none << QByteArray("air") << QStringList{"modul.unknown"};
    QTest::newRow("VER") << none << QByteArray("ver") << QStringList{kInfo};

    // SET
    QTest::newRow("set in any case") << none << QByteArray("set Channel.1.Freq 95.9")
                                     << QStringList{"SET ok: channel.1.freq = 95.9"};
    QTest::newRow("set unchanged value") << none << QByteArray("SET channel.1.freq 95.8")
                                         << QStringList{"SET ok: channel.1.freq = 95.8"};
    QTest::newRow("set out of range") << none << QByteArray("SET channel.1.freq 200")
                                      << QStringList{"SET error: data out of range [87.5..108]"};
    QTest::newRow("set unknown key")
        << none << QByteArray("SET nosuch.1.key 5") << QStringList{"SET error: key is unknown"};
    QTest::newRow("set list item without ADD")
        << none << QByteArray("SET rds.1.eon.5 1 2 3 4 5 6")
        << QStringList{"SET error: use ADD to insert list items"};
    QTest::newRow("set wrong count") << none << QByteArray("SET rds.1.eon.1 1 2")
                                     << QStringList{"SET error: expecting 6 values"};
    QTest::newRow("set true") << none << QByteArray("SET channel.3.mute TRUE")
                              << QStringList{"SET ok: channel.3.mute = 1"};
    QTest::newRow("set false") << none << QByteArray("SET channel.1.used false")
                               << QStringList{"SET ok: channel.1.used = 0"};
    QTest::newRow("set text with blanks") << none << QByteArray("SET rds.1.rta Hello  World")
                                          << QStringList{"SET ok: rds.1.rta = Hello  World"};
    QTest::newRow("set over instances") << none << QByteArray("SET channel.1,3.gain -5")
                                        << QStringList{"SET ok: channel.1,3.gain = -5"};
    QTest::newRow("set without value")
        << none << QByteArray("SET channel.1.freq") << QStringList{"SET error: missing data value"};
    QTest::newRow("set alone") << none << QByteArray("SET")
                               << QStringList{"set key value example: SET channel.1.freq 95.8"};
    QTest::newRow("set rdslog") << none << QByteArray("SET rdslog time data")
                                << QStringList{"SET ok: rdslog = time data"};
    QTest::newRow("set rdslog empty")
        << none << QByteArray("SET rdslog") << QStringList{"SET ok: rdslog = "};
    QTest::newRow("set band") << none << QByteArray("SET board.band 1")
                              << QStringList{"SET ok: board.band = 1"};
    QTest::newRow("set band as parsed, not clamped")
        << none << QByteArray("SET board.band 7") << QStringList{"SET ok: board.band = 7"};
    QTest::newRow("set band no number")
        << none << QByteArray("SET board.band x") << QStringList{"SET ok: board.band = 0"};
    QTest::newRow("set attenuation")
        << none << QByteArray("SET Board.Attn -12") << QStringList{"SET ok: board.attn = -12"};
    QTest::newRow("set offline") << none << QByteArray("SET modul.offline 1")
                                 << QStringList{"SET modul.offline"};
    QTest::newRow("set off") << none << QByteArray("SET modul.off")
                             << QStringList{"SET modul.offline"};
    QTest::newRow("set on") << none << QByteArray("SET modul.on") << QStringList{"SET modul.onair"};

    // GET
    QTest::newRow("get") << none << QByteArray("GET channel.1.freq")
                         << QStringList{"channel.1.freq 95.8"};
    QTest::newRow("get instance list")
        << none << QByteArray("get channel.3,1.freq")
        << QStringList{"channel.3.freq 101.1", "channel.1.freq 95.8"};
    QTest::newRow("get range") << none << QByteArray("GET channel.1-3.used")
                               << QStringList{"channel.1.used 1", "channel.2.used false",
                                              "channel.3.used 1"};
    QTest::newRow("get huge range is clamped") << none << QByteArray("GET tmc.95-2000000000.name")
                                               << QStringList{"tmc.95.name", "tmc.96.name"};
    QTest::newRow("get reversed range") << none << QByteArray("GET channel.5-3.freq")
                                        << QStringList{"GET error: no key channel.5-3/freq"};
    QTest::newRow("get unknown") << none << QByteArray("GET nosuch")
                                 << QStringList{"GET error: no key nosuch"};
    QTest::newRow("get unknown with a word for instance")
        << none << QByteArray("GET nosuch.key") << QStringList{"GET error: no key nosuch.0"};
    QTest::newRow("get group") << none << QByteArray("GET channel.3.*")
                               << QStringList{"channel.3.freq 101.1", "channel.3.used 1"};
    QTest::newRow("get band") << none << QByteArray("GET band") << QStringList{"board.band 0"};
    QTest::newRow("get board.band")
        << none << QByteArray("GET board.band") << QStringList{"board.band 0"};
    QTest::newRow("get attenuation")
        << none << QByteArray("GET attn") << QStringList{"board.attn -10"};
    QTest::newRow("get modul") << none << QByteArray("GET modul") << QStringList{"modul.unknown"};
    QTest::newRow("get modul.info")
        << none << QByteArray("GET modul.information") << QStringList{kInfo};
    QTest::newRow("get modul.version")
        << none << QByteArray("GET modul.version") << QStringList{kInfo};
    QTest::newRow("get alone") << none << QByteArray("GET")
                               << QStringList{"get key example: GET channel.1.freq"};

    // REG and UNR
    QTest::newRow("reg") << none << QByteArray("REG Channel.1") << QStringList{"REG ok: channel.1"};
    QTest::newRow("reg twice") << QList<QByteArray>{"REG channel.1"} << QByteArray("REG channel.1")
                               << QStringList{"REG error: key is already registered"};
    QTest::newRow("reg alone") << none << QByteArray("REG")
                               << QStringList{"register key example: REG channel.1"};
    QTest::newRow("unr") << QList<QByteArray>{"REG rds.1.ps"} << QByteArray("UNR rds.1.ps")
                         << QStringList{"UNR ok: rds.1.ps"};
    QTest::newRow("unreg") << QList<QByteArray>{"REG rds.1"} << QByteArray("unreg rds.1")
                           << QStringList{"UNR ok: rds.1"};
    QTest::newRow("unr not registered")
        << none << QByteArray("UNR channel.2") << QStringList{"UNR error: key is not registered"};
    QTest::newRow("unr alone") << none << QByteArray("UNR")
                               << QStringList{"unregister key example: UNR channel.1"};

    // ADD and DEL
    QTest::newRow("add item") << none << QByteArray("ADD rds.1.eon. 1 d3a1 2 0 0 0")
                              << QStringList{"ADD ok: rds.1.eon."};
    QTest::newRow("add to a list value")
        << none << QByteArray("ADD rds.1.eon.1.af 958") << QStringList{"ADD ok: rds.1.eon.1.af"};
    QTest::newRow("add wrong count") << none << QByteArray("ADD rds.1.eon. 1 2")
                                     << QStringList{"ADD error: rds.1.eon. expecting 6 values"};
    QTest::newRow("add to no list")
        << none << QByteArray("ADD channel.1.freq 5")
        << QStringList{"ADD error: channel.1.freq is not a list or list item"};
    QTest::newRow("add unknown") << none << QByteArray("ADD nosuch.1 5")
                                 << QStringList{"ADD error: nosuch.1 key is unknown"};
    QTest::newRow("add to an instance alone")
        << none << QByteArray("ADD tmc.1 4 5 6 7") << QStringList{"ADD ok: tmc.1"};
    QTest::newRow("get lists what an instance was given")
        << QList<QByteArray>{"ADD tmc.1 4 5 6 7"} << QByteArray("GET tmc.1.")
        << QStringList{"tmc.1.0 1 0 1500 12345 1", "tmc.1.1 0 1 20 30 2 7 8", "tmc.1.2 4 5 6 7",
                       "tmc.1.name Traffic", "tmc.1.used 1"};
    QTest::newRow("add to a new playlist alone")
        << none << QByteArray("ADD playlist.77 x") << QStringList{"ADD ok: playlist.77"};
    QTest::newRow("add without an instance")
        << none << QByteArray("ADD tmc. 5") << QStringList{"ADD error: tmc. key is unknown"};
    QTest::newRow("add to a playlist without an instance")
        << none << QByteArray("ADD playlist. /x.wav")
        << QStringList{"ADD error: playlist. key is unknown"};
    QTest::newRow("add to a negative instance")
        << none << QByteArray("ADD playlist.-1. x")
        << QStringList{"ADD error: playlist.-1. key is unknown"};
    QTest::newRow("add to instance zero")
        << none << QByteArray("ADD tmc.0. 1 2") << QStringList{"ADD error: tmc.0. key is unknown"};
    QTest::newRow("a refused add writes no group")
        << QList<QByteArray>{"ADD tmc. 5", "ADD tmc.0. 1 2"} << QByteArray("GET tmc")
        << QStringList{"tmc.1.0 1 0 1500 12345 1", "tmc.1.1 0 1 20 30 2 7 8", "tmc.1.name Traffic",
                       "tmc.1.used 1"};
    QTest::newRow("add alone") << none << QByteArray("ADD")
                               << QStringList{"add list item example: ADD tmc.1 4 5 6 7]"};
    QTest::newRow("del item") << none << QByteArray("DEL tmc.1.0")
                              << QStringList{"DEL ok: tmc.1.0"};
    QTest::newRow("del all items")
        << none << QByteArray("DEL tmc.1.*") << QStringList{"DEL ok: tmc.1.*"};
    QTest::newRow("del missing item")
        << none << QByteArray("DEL tmc.1.7") << QStringList{"DEL error: tmc.1.7 is not set"};
    QTest::newRow("del no list") << none << QByteArray("DEL channel.1.freq")
                                 << QStringList{
                                        "DEL error: channel.1.freq is not a list or list item"};
    QTest::newRow("del unknown") << none << QByteArray("DEL nosuch")
                                 << QStringList{"DEL error: nosuch key is unknown"};
    QTest::newRow("del alone") << none << QByteArray("DEL")
                               << QStringList{
                                      "delete list.item example: DEL rds.1.eon.1 DEL tmc.1.*"};

    // HELP
    QTest::newRow("help") << none << QByteArray("HELP rds.1.tp")
                          << QStringList{"rds.1.tp: rds traffic program bit [0..1] (bool)"};
    QTest::newRow("question mark")
        << none << QByteArray("? Rds.1.TP")
        << QStringList{"rds.1.tp: rds traffic program bit [0..1] (bool)"};
    QTest::newRow("help unknown") << none << QByteArray("HELP nosuch.1.x")
                                  << QStringList{"HELP: no info about nosuch.1.x"};
    QTest::newRow("help alone")
        << none << QByteArray("?")
        << QStringList{"usage: HELP key (get info about key) example: HELP rds.1.tp"};

    // usage lines of the file commands
    QTest::newRow("new alone") << none << QByteArray("NEW") << QStringList{"usage: NEW filename"};
    QTest::newRow("load alone") << none << QByteArray("LOAD")
                                << QStringList{"usage: LOAD filename"};
    QTest::newRow("save alone") << none << QByteArray("SAVE")
                                << QStringList{"usage: SAVE filename"};
}

void TestFMServerCommands::replies()
{
    QFETCH(QList<QByteArray>, before);
    QFETCH(QByteArray, command);
    ServerRig rig;
    auto client = rig.client();
    rig.quieten(*client);
    for (const QByteArray& line : before)
        client->exchange(line);
    QFETCH(QStringList, replies);
    if (replies.contains(kInfo))
        QCOMPARE(client->exchangeBeforeUsage(command), replies);
    else
        QCOMPARE(client->exchange(command), replies);
    QVERIFY(!client->badLineEnd);
}

// What the replies claim is what the store holds.
void TestFMServerCommands::storeChangesBehindReplies()
{
    ServerRig rig;
    auto client = rig.client();
    rig.quieten(*client);
    client->exchange("SET channel.1,3.gain -5");
    QCOMPARE(rig.store->get("channel.1.gain").toInt(), -5);
    QCOMPARE(rig.store->get("channel.3.gain").toInt(), -5);
    QCOMPARE(client->exchange("SET \"rds.1.rta\" Hello  World"),
             QStringList{"SET ok: rds.1.rta = Hello  World"});
    QCOMPARE(rig.store->get("rds.1.rta").toString(), QString("Hello  World"));
    client->exchange("ADD rds.1.eon. 1 d3a1 2 0 0 0");
    QCOMPARE(rig.store->get("rds.1.eon.2").toString(), QString("1 d3a1 2 0 0 0"));
    client->exchange("DEL tmc.1.0");
    QCOMPARE(rig.store->get("tmc.1.0").toString(), QString("0 1 20 30 2 7 8"));
    QVERIFY(!rig.store->get("tmc.1.1").isValid());
}

// Registrations outlive their client; a client cannot pile them up.
void TestFMServerCommands::registrationsAreBounded()
{
    ServerRig rig;
    auto client = rig.client();
    QVERIFY(client);
    const int room = FMServer::kMaxRegistrations - int(rig.server->registrations().size());
    QByteArray lines;
    for (int i = 1; i <= room; ++i)
        lines += "REG chinfo." + QByteArray::number(i) + ".playpos\r\n";
    lines.chop(2);
    const QStringList replies = client->exchange(lines);
    QCOMPARE(replies.size(), room);
    QCOMPARE(replies.count(QStringLiteral("REG ok: chinfo.%1.playpos").arg(room)), 1);
    QCOMPARE(rig.server->registrations().size(), FMServer::kMaxRegistrations);

    QCOMPARE(client->exchange("REG rds.1.ps"),
             QStringList{QStringLiteral("REG error: too many registrations (%1)")
                             .arg(FMServer::kMaxRegistrations)});
    QCOMPARE(rig.server->registrations().size(), FMServer::kMaxRegistrations);
    QCOMPARE(client->exchange("UNR chinfo.1.playpos"), QStringList{"UNR ok: chinfo.1.playpos"});
    QCOMPARE(client->exchange("REG rds.1.ps"), QStringList{"REG ok: rds.1.ps"});
}

void TestFMServerCommands::getOfAFamilyListsEveryKey()
{
    ServerRig rig;
    auto client = rig.client();
    rig.quieten(*client);
    const QStringList lines = client->exchange("GET channel.*");
    QVERIFY2(lines.contains("channel.1.freq 95.8"), qPrintable(lines.join('|')));
    QVERIFY(lines.contains("channel.1.gain -3"));
    QVERIFY(lines.contains("channel.3.freq 101.1"));
    QCOMPARE(lines.filter(QRegularExpression("^channel\\.\\d+\\.\\w+ ")).size(), lines.size());
}

void TestFMServerCommands::boardSettingsAndOnAir()
{
    ServerRig rig;
    auto client = rig.client();
    rig.quieten(*client);
    QSignalSpy band(rig.server.get(), &FMServer::onBand);
    QSignalSpy air(rig.server.get(), &FMServer::setOnAir);

    client->exchange("SET board.band 7");
    QCOMPARE(band.size(), 1);
    QCOMPARE(rig.store->band(), 2); // clamped by the store
    QCOMPARE(rig.store->attenuation(), -10);
    client->exchange("SET board.attn -12");
    QCOMPARE(band.size(), 2);
    QCOMPARE(rig.store->band(), 2);
    QCOMPARE(rig.store->attenuation(), -12);

    client->exchange("SET modul.offline 1");
    client->exchange("SET modul.on");
    client->exchange("SET modul.off");
    QCOMPARE(air.size(), 3);
    QCOMPARE(air.at(0).at(0).toBool(), false);
    QCOMPARE(air.at(1).at(0).toBool(), true);
    QCOMPARE(air.at(2).at(0).toBool(), false);
}

// The main window opens the new project while it handles the signal, so
// "LOAD ok:" comes first.
void TestFMServerCommands::newProject()
{
    ServerRig rig;
    auto client = rig.client();
    rig.quieten(*client);
    QStringList asked;
    QString refusal;
    connect(rig.server.get(), &FMServer::newFile, rig.server.get(), [&](const QString& path) {
        asked.append(path);
        if (!refusal.isEmpty())
            return refusal;
        rig.server->setProject(QSharedPointer<FMSettings>::create(path), path);
        return QString();
    });

    const QString full = rig.dir.filePath("fresh.fm");
    QCOMPARE(client->exchange("NEW fresh.fm"),
             (QStringList{"LOAD ok: " + full, "NEW ok: fresh.fm"}));
    QCOMPARE(asked, QStringList{full});

    refusal = "cannot create /x/y.fm";
    QCOMPARE(client->exchange("NEW /x/y.fm"), QStringList{"NEW error: cannot create /x/y.fm"});
    QCOMPARE(asked.last(), QString("/x/y.fm"));
}

void TestFMServerCommands::loadProject_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QStringList>("replies");
    QTest::newRow("relative name") << QByteArray("LOAD other.fm") << "other.fm"
                                   << "" << QStringList{"LOAD ok: %1"};
    QTest::newRow("name with blanks in quotes")
        << QByteArray("LOAD \"my project.fm\"") << "my project.fm"
        << "" << QStringList{"LOAD ok: %1"};
    QTest::newRow("absolute name") << QByteArray("LOAD %1") << "abs.fm"
                                   << "" << QStringList{"LOAD ok: %1"};
    QTest::newRow("refused") << QByteArray("LOAD bad.fm") << "bad.fm"
                             << "file cannot be read"
                             << QStringList{"LOAD error: file cannot be read"};
}

// The test stands in for the main window: it loads the file into a new
// store and hands it over, or refuses it.
void TestFMServerCommands::loadProject()
{
    QFETCH(QByteArray, command);
    QFETCH(QString, file);
    QFETCH(QString, refusal);
    QFETCH(QStringList, replies);
    ServerRig rig;
    auto client = rig.client();
    rig.quieten(*client);
    const QString full = rig.copyProject(file);
    connect(rig.server.get(), &FMServer::loadFile, rig.server.get(), [&](const QString& path) {
        if (path != full)
            return QStringLiteral("unexpected path ") + path;
        if (!refusal.isEmpty())
            return refusal;
        rig.server->setProject(QSharedPointer<FMSettings>::create(path), path);
        return QString();
    });
    command.replace("%1", full.toUtf8());
    replies.replaceInStrings("%1", full);
    QCOMPARE(client->exchange(command), replies);
    if (refusal.isEmpty())
        QCOMPARE(rig.server->project()->fileName(), full);
    else
        QCOMPARE(rig.server->project(), rig.store);
}

void TestFMServerCommands::saveProject_data()
{
    QTest::addColumn<bool>("dirty");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("clears");
    QTest::addColumn<QString>("reply");
    QTest::newRow("written") << false << true << false << "SAVE ok: copy.fm";
    QTest::newRow("not written") << false << false << false << "SAVE error: copy.fm";
    QTest::newRow("written but still changed") << true << true << false << "SAVE error: copy.fm";
    QTest::newRow("changes written and cleared by the saver")
        << true << true << true << "SAVE ok: copy.fm";
}

void TestFMServerCommands::saveProject()
{
    QFETCH(bool, dirty);
    QFETCH(bool, written);
    QFETCH(bool, clears);
    ServerRig rig;
    auto client = rig.client();
    rig.quieten(*client);
    if (dirty)
        client->exchange("SET channel.1.gain -20");
    QStringList asked;
    connect(rig.server.get(), &FMServer::saveFile, rig.server.get(), [&](const QString& path) {
        asked.append(path);
        if (written && clears)
            rig.store->clearDirty();
        return written;
    });
    QTEST(client->exchange("SAVE copy.fm").value(0), "reply");
    QCOMPARE(asked, QStringList{rig.dir.filePath("copy.fm")});
}

void TestFMServerCommands::changeDirectory()
{
    ServerRig rig;
    QDir(rig.dir.path()).mkpath("music/rock");
    auto client = rig.client();
    QSignalSpy cd(rig.server.get(), &FMServer::onCD);
    const QString root = QDir(rig.dir.path()).absolutePath();

    QCOMPARE(client->exchange("CD music/rock"), QStringList{"path " + root + "/music/rock"});
    QCOMPARE(client->exchange("CD .."), QStringList{"path " + root + "/music"});
    QCOMPARE(client->exchange("CD"), QStringList{"path " + root + "/music"});
    QCOMPARE(client->exchange("CD nowhere"),
             QStringList{"path invalid, current: " + root + "/music"});
    QCOMPARE(client->exchange("CD " + root.toUtf8()), QStringList{"path " + root});
    QCOMPARE(rig.server->currentDirectory(), root);
    QCOMPARE(cd.size(), 4);
    QCOMPARE(cd.at(0).at(0).toString(), root + "/music/rock");
    QCOMPARE(cd.at(3).at(0).toString(), root);
}

void TestFMServerCommands::listDirectory_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("project files and folders")
        << QByteArray("DIR") << ""
        << QStringList{"dir music", "dir zeta", "file a.fm", "file project.fm"};
    QTest::newRow("filter in the current folder")
        << QByteArray("LS *.wav") << "" << QStringList{"dir music", "dir zeta", "file b.wav"};
    QTest::newRow("folder and filter")
        << QByteArray("list music *.mp3") << "/music" << QStringList{"file song.mp3"};
    QTest::newRow("folder alone lists its projects")
        << QByteArray("DIR music") << "/music" << QStringList{"file set.fm"};
    QTest::newRow("empty folder") << QByteArray("DIR zeta") << "/zeta" << QStringList{};
    QTest::newRow("parent") << QByteArray("DIR music/..") << ""
                            << QStringList{"dir music", "dir zeta", "file a.fm", "file project.fm"};
}

void TestFMServerCommands::listDirectory()
{
    QFETCH(QByteArray, command);
    QFETCH(QString, path);
    QFETCH(QStringList, entries);
    ServerRig rig;
    QDir root(rig.dir.path());
    root.mkpath("music");
    root.mkpath("zeta");
    root.mkpath(".hidden");
    for (const char* name : {"a.fm", "b.wav", ".secret.fm", "music/song.mp3", "music/set.fm"}) {
        QFile file(root.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    auto client = rig.client();
    rig.quieten(*client);
    const QString rootPath = root.absolutePath();
    QCOMPARE(client->exchange(command), QStringList{"path " + rootPath + path} + entries);
}

QTEST_MAIN(TestFMServerCommands)
#include "tst_fmservercommands.moc"
