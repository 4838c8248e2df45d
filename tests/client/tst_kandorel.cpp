// Kandorel's window on the generator's real control server and on a raw
// server that sends exactly the bytes a test writes.
#include "ClientKit.h"
#include "remote/FMServer.h"
#include "settings/FMSettings.h"

#include <QFile>
#include <QHostAddress>
#include <QLabel>
#include <QTemporaryDir>

namespace {

// The real control server on a port below 4001 (the port tells the client
// which server it talks to), with a store on a small project.
class ControlServer
{
public:
    ControlServer()
    {
        qputenv("HOME", dir.path().toUtf8());
        const QString path = dir.filePath(QStringLiteral("project.fm"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("[channel.1]\nused=1\nfreq=88.0\n");
        file.close();
        store = QSharedPointer<FMSettings>::create(path);
        server = std::make_unique<FMServer>();
        for (int attempt = 0; attempt < 50 && port == 0; ++attempt) {
            const quint16 candidate = freePort(quint16(2000 + attempt * 37), 4001);
            server->setPort(candidate);
            server->setProject(store, path);
            if (server->listeningPort() == candidate)
                port = candidate;
        }
    }

    QTemporaryDir dir;
    QSharedPointer<FMSettings> store;
    std::unique_ptr<FMServer> server;
    quint16 port = 0;
};

} // namespace

class TestKandorel : public QObject
{
    Q_OBJECT

private slots:
    void startsOnDefaultPort();
    void connectsThroughDialog();
    void cancelledDialogChangesNothing();
    void emptyHostIsLocalHost();
    void registerPushUnregister();
    void reconnectEmptiesRegistered();
    void history();
    void historyKeys();
    void received_data();
    void received();
    void connectionErrors_data();
    void connectionErrors();
    void remoteCloseShowsNoBox();
    void formAndActions();
    void aboutBox();
};

void TestKandorel::startsOnDefaultPort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, Kandorel::kDefaultPort))
        QSKIP("port 1248 is in use here");
    ClientQuestions::setUnattended(true);
    Kandorel window;
    QVERIFY(server.waitForNewConnection(kWaitMs));
    QTRY_COMPARE_WITH_TIMEOUT(window.windowTitle(),
                              QStringLiteral("Quorvin Client v0.4 - 127.0.0.1"), kWaitMs);
}

void TestKandorel::connectsThroughDialog()
{
    ControlServer control;
    QVERIFY(control.port);
    ClientKit kit;
    QVERIFY(kit.connectTo(control.port));
    QCOMPARE(ClientQuestions::asked(), QStringList{"Quorvin Connection"});
    QTRY_COMPARE_WITH_TIMEOUT(kit.window->windowTitle(),
                              QStringLiteral("Quorvin Client v0.4 - 127.0.0.1"), kWaitMs);
    QVERIFY(kit.find<QLineEdit>("run")->isEnabled());
    // The greeting names every key the server pushes.
    QVERIFY_EVENT(kit, QStringLiteral("REG ok: tmc"));
    QCOMPARE(kit.events().first(), QStringLiteral("--"));
    QStringList registered = kit.registered();
    QStringList registrations = control.server->registrations();
    registered.sort();
    registrations.sort();
    QCOMPARE(registered, registrations);
    QCOMPARE(kit.find<QGroupBox>("Gevent")->title(),
             QStringLiteral("%1 Events:").arg(kit.events().size()));

    control.server.reset();
    QTRY_VERIFY_WITH_TIMEOUT(!kit.connected(), kWaitMs);
    QCOMPARE(kit.window->windowTitle(), QStringLiteral("Quorvin Client v0.4"));
    QVERIFY(!kit.find<QLineEdit>("run")->isEnabled());
}

void TestKandorel::cancelledDialogChangesNothing()
{
    ControlServer control;
    ClientKit kit;
    QVERIFY(kit.connectTo(control.port));
    QVERIFY_EVENT(kit, QStringLiteral("REG ok: tmc"));
    const QStringList registered = kit.registered();
    ClientQuestions::setNextDialogAction([](QDialog* dialog) {
        dialog->findChild<QSpinBox*>(QStringLiteral("port"))->setValue(4100);
        dialog->findChild<QPushButton*>(QStringLiteral("Bcancel"))->click();
        return dialog->result();
    });
    kit.trigger(QStringLiteral("actOpen"));
    QVERIFY(kit.connected());
    QCOMPARE(kit.registered(), registered);
    // The dialog opens with the connection's own host and port.
    ClientQuestions::setNextDialogAction([&](QDialog* dialog) {
        const bool same =
            dialog->findChild<QLineEdit*>(QStringLiteral("host"))->text() == "127.0.0.1" &&
            dialog->findChild<QSpinBox*>(QStringLiteral("port"))->value() == control.port;
        return same ? QDialog::Rejected : QDialog::Accepted;
    });
    kit.trigger(QStringLiteral("actOpen"));
    QVERIFY(kit.connected());
    QCOMPARE(kit.registered(), registered);
}

void TestKandorel::emptyHostIsLocalHost()
{
    RawServer raw;
    QVERIFY(raw.listen(freePort(3000, 4001)));
    ClientKit kit;
    QVERIFY(kit.connectTo(raw.server.serverPort(), QString()));
    QVERIFY(raw.waitForPeer());
    QString host;
    ClientQuestions::setNextDialogAction([&](QDialog* dialog) {
        host = dialog->findChild<QLineEdit*>(QStringLiteral("host"))->text();
        return QDialog::Rejected;
    });
    kit.trigger(QStringLiteral("actOpen"));
    QCOMPARE(host, QStringLiteral("127.0.0.1"));
}

void TestKandorel::registerPushUnregister()
{
    ControlServer control;
    ClientKit kit;
    QVERIFY(kit.connectTo(control.port));
    QVERIFY_EVENT(kit, QStringLiteral("REG ok: tmc"));
    kit.type(QStringLiteral("REG channel.1.freq"));
    QTRY_VERIFY_WITH_TIMEOUT(kit.registered().contains("channel.1.freq"), kWaitMs);
    kit.type(QStringLiteral("SET channel.1.freq 95.8"));
    QVERIFY_EVENT(kit, QStringLiteral("channel.1.freq 95.8"));

    QListWidget* list = kit.find<QListWidget>("registered");
    const int before = list->count();
    QListWidgetItem* entry = list->findItems("channel.1.freq", Qt::MatchExactly).first();
    list->scrollToItem(entry);
    // A double click as the view sees it: the press picks the entry.
    const QPoint at = list->visualItemRect(entry).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QVERIFY_EVENT(kit, QStringLiteral("UNR ok: channel.1.freq"));
    QCOMPARE(list->count(), before - 1);
    QVERIFY(!kit.registered().contains("channel.1.freq"));
    QVERIFY(!control.server->registrations().contains("channel.1/freq"));
}

void TestKandorel::reconnectEmptiesRegistered()
{
    ControlServer control;
    ClientKit kit;
    QVERIFY(kit.connectTo(control.port));
    kit.type(QStringLiteral("REG rds.1.ps"));
    QTRY_VERIFY_WITH_TIMEOUT(kit.registered().contains("rds.1.ps"), kWaitMs);
    QVERIFY(kit.connectTo(control.port));
    // The server keeps its registrations and names them again, once each.
    QTRY_COMPARE_WITH_TIMEOUT(kit.registered().size(), control.server->registrations().size(),
                              kWaitMs);
    QCOMPARE(kit.registered().count("rds.1.ps"), 1);
    QCOMPARE(kit.registered().count("channel"), 1);
}

void TestKandorel::history()
{
    RawServer raw;
    QVERIFY(raw.listen(freePort(3000, 4001)));
    ClientKit kit;
    QVERIFY(kit.connectTo(raw.server.serverPort()));
    QVERIFY(raw.waitForPeer());
    kit.type(QString()); // sends nothing
    kit.type(QStringLiteral("GET channel.1.freq"));
    kit.type(QStringLiteral("get Channel.1.FREQ"));
    QCOMPARE(kit.find<QLineEdit>("run")->text(), QStringLiteral("get Channel.1.FREQ"));
    kit.type(QStringLiteral("HELP rds"));
    kit.type(QStringLiteral("GET channel.1.freq"));
    QVERIFY(raw.waitForReceived("GET channel.1.freq\r\n"));
    // Sent as typed; the history ignores case.
    QCOMPARE(raw.received, QByteArray("GET channel.1.freq\r\nget Channel.1.FREQ\r\nHELP rds\r\n"
                                      "GET channel.1.freq\r\n"));
    QCOMPARE(kit.history(), (QStringList{"GET channel.1.freq", "HELP rds"}));
    QListWidget* history = kit.find<QListWidget>("history");
    QCOMPARE(history->currentRow(), 0);
    QCOMPARE(kit.find<QLineEdit>("run")->text(), QStringLiteral("GET channel.1.freq"));
    QVERIFY(history->item(0)->flags().testFlag(Qt::ItemIsEditable));
}

void TestKandorel::historyKeys()
{
    ClientKit kit;
    QLineEdit* run = kit.find<QLineEdit>("run");
    run->setEnabled(true);
    for (const char* command : {"one", "two", "three"})
        kit.type(QString::fromLatin1(command));
    QListWidget* history = kit.find<QListWidget>("history");
    QCOMPARE(history->currentRow(), 2);
    struct Step
    {
        Qt::Key key;
        int row;
        const char* text;
        QStringList entries;
    };
    const QList<Step> steps{
        {Qt::Key_Down, 2, "three", {"one", "two", "three"}}, // the last stays
        {Qt::Key_Up, 1, "two", {"one", "two", "three"}},
        {Qt::Key_Up, 0, "one", {"one", "two", "three"}},
        {Qt::Key_Up, 0, "one", {"one", "two", "three"}}, // the first stays
        {Qt::Key_Down, 1, "two", {"one", "two", "three"}},
        {Qt::Key_Delete, -1, nullptr, {"one", "three"}},
    };
    for (const Step& step : steps) {
        QTest::keyClick(kit.window.get(), step.key);
        QCOMPARE(kit.history(), step.entries);
        if (step.row >= 0) {
            QCOMPARE(history->currentRow(), step.row);
            QCOMPARE(run->text(), QString::fromLatin1(step.text));
        }
    }
    // Delete with no entry left goes on as usual.
    while (history->count() > 0)
        QTest::keyClick(kit.window.get(), Qt::Key_Delete);
    QTest::keyClick(kit.window.get(), Qt::Key_Delete);
    QTest::keyClick(kit.window.get(), Qt::Key_Up);
    QCOMPARE(history->count(), 0);
}

void TestKandorel::received_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("registered");
    QTest::newRow("CR LF, LF CR, NUL ends in one packet")
        << QByteArray("REG ok: a\r\nREG ok: b\n\rREG ok: c\0", 32)
        << QStringList{"REG ok: a", "REG ok: b", "REG ok: c"} << QStringList{"a", "b", "c"};
    QTest::newRow("1100 bytes without an end, then ok") << QByteArray(1100, 'x') + "\r\nok\r\n"
                                                        << QStringList{"ok"} << QStringList{};
    QTest::newRow("REG ok: without a key")
        << QByteArray("REG ok:\r\n") << QStringList{"REG ok:"} << QStringList{};
    QTest::newRow("REG error is no registration")
        << QByteArray("REG error: key is unknown\r\n") << QStringList{"REG error: key is unknown"}
        << QStringList{};
    QTest::newRow("words compared with case")
        << QByteArray("reg ok: a\r\nREG OK: b\r\n") << QStringList{"reg ok: a", "REG OK: b"}
        << QStringList{};
    QTest::newRow("blanks around the words") << QByteArray("  REG   ok:  a  \r\n")
                                             << QStringList{"  REG   ok:  a  "} << QStringList{"a"};
    QTest::newRow("UNR removes every equal entry")
        << QByteArray("REG ok: a\nREG ok: b\nREG ok: a\nUNR ok: a\nUNR ok: B\n")
        << QStringList{"REG ok: a", "REG ok: b", "REG ok: a", "UNR ok: a", "UNR ok: B"}
        << QStringList{"b"};
}

void TestKandorel::received()
{
    QFETCH(QByteArray, bytes);
    RawServer raw;
    QVERIFY(raw.listen(freePort(3000, 4001)));
    ClientKit kit;
    QVERIFY(kit.connectTo(raw.server.serverPort()));
    QVERIFY(raw.waitForPeer());
    raw.send(bytes + "end\n");
    QVERIFY_EVENT(kit, QStringLiteral("end"));
    QStringList events = kit.events();
    events.removeLast();
    QTEST(events, "events");
    QTEST(kit.registered(), "registered");
}

void TestKandorel::connectionErrors_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("text");
    QTest::newRow("refused") << "127.0.0.1"
                             << "The connection was refused by the peer. Make sure the Quorvin "
                                "Server\nis running and that the host name and port settings "
                                "are correct.";
    QTest::newRow("unknown host")
        << "no-such-host.invalid"
        << "The host was not found. Please check the host name and port settings.";
}

void TestKandorel::connectionErrors()
{
    QFETCH(QString, host);
    QFETCH(QString, text);
    const quint16 port = freePort(3000, 4001);
    ClientKit kit;
    QVERIFY(!kit.connectTo(port, host));
    QTRY_COMPARE_WITH_TIMEOUT(ClientQuestions::asked(), (QStringList{"Quorvin Connection", text}),
                              kWaitMs);
    QCOMPARE(kit.window->windowTitle(), QStringLiteral("Quorvin Client v0.4"));
    QVERIFY(!kit.find<QLineEdit>("run")->isEnabled());
    // Only a name is looked up, and through the kit's resolver.
    const QStringList expected = QHostAddress(host).isNull() ? QStringList{host} : QStringList{};
    QCOMPARE(ClientKit::lookedUp(), expected);
}

void TestKandorel::remoteCloseShowsNoBox()
{
    RawServer raw;
    QVERIFY(raw.listen(freePort(3000, 4001)));
    ClientKit kit;
    QVERIFY(kit.connectTo(raw.server.serverPort()));
    QVERIFY(raw.waitForPeer());
    raw.send("bye\n");
    QVERIFY_EVENT(kit, QStringLiteral("bye"));
    raw.peer->close();
    QTRY_VERIFY_WITH_TIMEOUT(!kit.connected(), kWaitMs);
    QCoreApplication::processEvents();
    QCOMPARE(ClientQuestions::asked(), QStringList{"Quorvin Connection"});
}

void TestKandorel::formAndActions()
{
    ClientKit kit;
    const QList<std::pair<QString, QString>> shortcuts{
        {"actQuit", "Ctrl+Q"}, {"actOpen", "Ctrl+O"}, {"actLog", "Ctrl+R"}, {"actStop", "Ctrl+S"}};
    for (const auto& [name, keys] : shortcuts)
        QCOMPARE(kit.find<QAction>(name)->shortcut(), QKeySequence(keys));
    for (const char* name : {"actQuit", "actAbout", "actOpen", "actLog", "actStop"})
        QVERIFY2(!kit.find<QAction>(name)->icon().isNull(), name);
    QPointer<Kandorel> window = kit.window.get();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    kit.trigger(QStringLiteral("actQuit"));
    QVERIFY(!window->isVisible());
}

void TestKandorel::aboutBox()
{
    ClientKit kit;
    QString title;
    QSize size;
    bool logo = false;
    bool closeOnly = false;
    ClientQuestions::setNextDialogAction([&](QDialog* box) {
        title = box->windowTitle();
        size = box->size();
        const QLabel* label = box->findChild<QLabel*>(QStringLiteral("logo"));
        logo = label && !label->pixmap().isNull();
        closeOnly = box->windowFlags().testFlag(Qt::WindowCloseButtonHint) &&
                    !box->windowFlags().testFlag(Qt::WindowContextHelpButtonHint) &&
                    !box->windowFlags().testFlag(Qt::WindowMinMaxButtonsHint);
        box->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        return box->result();
    });
    kit.trigger(QStringLiteral("actAbout"));
    QCOMPARE(title, QStringLiteral("Quorvin Client v0.4"));
    QCOMPARE(size, QSize(342, 211));
    QVERIFY(logo); // the icons are compiled into the client itself
    QVERIFY(closeOnly);
    QCOMPARE(ClientQuestions::asked(), QStringList{"Quorvin Client v0.4"});
}

QTEST_MAIN(TestKandorel)
#include "tst_kandorel.moc"
