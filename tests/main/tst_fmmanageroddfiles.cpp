// Files that are no project, named in the window's open dialog or by a
// remote client: the open project, the working copy, the title and the
// recent list stay as they were and the reason is told; files that are a
// project (an empty one, one the program saved) still open. Saving never
// writes over the ini, the working copy or its backup, whatever name a
// client gives them.
#include "WindowKit.h"

#include "LineClient.h"

#include "remote/FMServer.h"

#include <QFileInfo>
#include <QStatusBar>

#include <sys/stat.h>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class Client : public LineClient
{
public:
    explicit Client(quint16 port) { QVERIFY(connectTo(port)); }
    void send(const QString& line) { LineClient::send(line.toUtf8() + "\r\n"); }
    QString waitFor(const QString& prefix) { return takeStartingWith(prefix); }
};

const QString kNoProject = QStringLiteral("Keine FM-Einstellung (Projektdatei)");

} // namespace

class TestFMManagerOddFiles : public QObject
{
    Q_OBJECT

private slots:
    void foreignFileIsRefused_data();
    void foreignFileIsRefused();
    void projectsStillOpen_data();
    void projectsStillOpen();
    void remoteLoadAndSaveOfOddFiles();
    void workingCopyThatCannotBeWritten();
    void cleanup() { Settings::setAfterWriteHook({}); }

private:
    // Lays out the file a row names and returns its path.
    static QString oddFile(WindowKit& kit, const QString& kind);
};

QString TestFMManagerOddFiles::oddFile(WindowKit& kit, const QString& kind)
{
    const QString path = kit.path(QStringLiteral("odd.fm"));
    QByteArray content;
    if (kind == QLatin1String("ini")) {
        kit.ini->sync();
        return kit.iniPath();
    }
    if (kind == QLatin1String("proc"))
        return QStringLiteral("/proc/self/status");
    if (kind == QLatin1String("folder")) {
        QDir().mkpath(path);
        return path;
    }
    if (kind == QLatin1String("fifo")) {
        ::mkfifo(QFile::encodeName(path).constData(), 0600);
        return path;
    }
    if (kind == QLatin1String("mp3"))
        content = QByteArray::fromHex("494433030000000000215449543200000006000000536f6e67fffb9064");
    else if (kind == QLatin1String("binary"))
        content = QByteArray::fromHex("7f454c4602010100000000000000000003003e00");
    else if (kind == QLatin1String("utf16"))
        content = QByteArray("\xff\xfe[\0r\0d\0s\0.\0001\0]\0\n\0", 18);
    else if (kind == QLatin1String("variant"))
        content = "[rds.1]\nps=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x6\\xff\\xff\\xff\\xff)\n";
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

void TestFMManagerOddFiles::foreignFileIsRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");

    QTest::newRow("an MP3") << "mp3" << kNoProject;
    QTest::newRow("a program binary") << "binary" << kNoProject;
    QTest::newRow("UTF-16 text") << "utf16" << kNoProject;
    QTest::newRow("the application ini") << "ini" << kNoProject;
    QTest::newRow("a status file of /proc") << "proc" << kNoProject;
    QTest::newRow("a stored object") << "variant" << kNoProject;
    QTest::newRow("a folder") << "folder"
                              << "Das ist ein Ordner, keine Datei";
    QTest::newRow("a FIFO") << "fifo"
                            << "Keine gewöhnliche Datei (FIFO oder Gerät)";
}

void TestFMManagerOddFiles::foreignFileIsRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);

    WindowKit kit;
    FMManager* window = kit.open();
    const QString opened =
        kit.writeProject(QStringLiteral("a.fm"), {{QStringLiteral("channel.1/freq"), "99.9"}});
    window->loadFile(opened);
    const auto project = window->project();
    const QString title = window->windowTitle();
    QVERIFY(title.endsWith(opened));
    project->writeNow();
    const QByteArray workingCopy = bytesOf(kit.workingCopy());
    const QByteArray backup = bytesOf(kit.path(QStringLiteral("q.fbk")));
    const QString path = oddFile(kit, kind);

    ModalQuestions::clear();
    ModalQuestions::setNextFileName(path);
    ModalQuestions::setNextAnswer(QMessageBox::Ok);
    kit.trigger(QStringLiteral("actLoad"));
    QCOMPARE(ModalQuestions::asked(), (QStringList{QStringLiteral("FM-Einstellung laden"),
                                                   QStringLiteral("Projekt laden")}));
    QCOMPARE(ModalQuestions::unanswered(), 0);
    // The remote control gets the same reason as its error line.
    QCOMPARE(window->openFile(path), reason);

    QCOMPARE(window->project(), project);
    QCOMPARE(window->project()->get(QStringLiteral("channel.1.freq")).toDouble(), 99.9);
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file1")).toString(), opened);
    QVERIFY(!kit.ini->contains(QStringLiteral("Last/file2")) ||
            kit.ini->value(QStringLiteral("Last/file2")).toString() != path);
    QCOMPARE(bytesOf(kit.workingCopy()), workingCopy);
    QCOMPARE(bytesOf(kit.path(QStringLiteral("q.fbk"))), backup);
}

void TestFMManagerOddFiles::projectsStillOpen_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<double>("frequency");

    QTest::newRow("empty file: every key at its default") << QByteArray() << 0.0;
    QTest::newRow("a project by hand")
        << QByteArray("; by hand\n[board]\nband=0\n\n[channel.1]\nfreq=101.7\n") << 101.7;
}

void TestFMManagerOddFiles::projectsStillOpen()
{
    QFETCH(QByteArray, content);
    QFETCH(double, frequency);

    WindowKit kit;
    FMManager* window = kit.open();
    QCOMPARE(window->project()->set(QStringLiteral("channel.1.freq"), 90.1), 0);
    const auto before = window->project();
    const QString path = kit.path(QStringLiteral("p.fm"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    QCOMPARE(window->openFile(path), QString());
    QVERIFY(window->project() != before);
    QVERIFY(window->windowTitle().endsWith(path));
    QCOMPARE(kit.ini->value(QStringLiteral("Last/file1")).toString(), path);
    const double loaded = window->project()->get(QStringLiteral("channel.1.freq")).toDouble();
    if (frequency > 0)
        QCOMPARE(loaded, frequency);
    else
        QVERIFY(loaded != 90.1);

    // What the program saves opens again.
    const QString saved = kit.path(QStringLiteral("saved.fm"));
    QVERIFY(window->saveFile(saved));
    QCOMPARE(window->openFile(saved), QString());
}

void TestFMManagerOddFiles::remoteLoadAndSaveOfOddFiles()
{
    WindowKit kit;
    FMManager* window = kit.open();
    QTRY_VERIFY_WITH_TIMEOUT(window->server()->isListening(), WindowKit::kWaitMs);
    Client client(window->server()->listeningPort());
    client.send(QStringLiteral("CD ") + kit.dir.path());
    client.waitFor(QStringLiteral("path "));
    const auto project = window->project();

    oddFile(kit, QStringLiteral("mp3"));
    client.send(QStringLiteral("LOAD odd.fm"));
    QCOMPARE(client.waitFor(QStringLiteral("LOAD ")), QStringLiteral("LOAD error: ") + kNoProject);
    client.send(QStringLiteral("LOAD q.ini"));
    QCOMPARE(client.waitFor(QStringLiteral("LOAD ")), QStringLiteral("LOAD error: ") + kNoProject);
    QCOMPARE(window->project(), project);

    // The ini, the working copy and its backup by other names.
    QCOMPARE(window->project()->set(QStringLiteral("channel.2.freq"), 88.8), 0);
    QVERIFY(window->saveFile(kit.path(QStringLiteral("first.fm"))));
    QCOMPARE(window->openFile(kit.path(QStringLiteral("first.fm"))), QString());
    client.waitFor(QStringLiteral("LOAD ok"));
    QVERIFY(QFile::exists(kit.path(QStringLiteral("q.fbk"))));
    kit.ini->sync();
    QVERIFY(QFile::link(kit.iniPath(), kit.path(QStringLiteral("ini-link.fm"))));
    QVERIFY(
        QFile::link(kit.path(QStringLiteral("q.fbk")), kit.path(QStringLiteral("fbk-link.fm"))));
    const QStringList names{QStringLiteral("ini-link.fm"),
                            QStringLiteral("/proc/self/root") + kit.iniPath(),
                            QStringLiteral("q.fbk"), QStringLiteral("fbk-link.fm"),
                            QStringLiteral("/proc/self/root") + kit.workingCopy()};
    const QByteArray ini = bytesOf(kit.iniPath());
    const QByteArray backup = bytesOf(kit.path(QStringLiteral("q.fbk")));
    for (const QString& name : names) {
        client.send(QStringLiteral("SAVE ") + name);
        QCOMPARE(client.waitFor(QStringLiteral("SAVE ")), QStringLiteral("SAVE error: ") + name);
    }
    QCOMPARE(bytesOf(kit.iniPath()), ini);
    QCOMPARE(bytesOf(kit.path(QStringLiteral("q.fbk"))), backup);
    QVERIFY(QFileInfo(kit.path(QStringLiteral("ini-link.fm"))).isSymLink());
}

// A full disk, stood in for by cutting the working copy short right after
// each write: the operator is told, and no project is saved from the stale
// working copy.
void TestFMManagerOddFiles::workingCopyThatCannotBeWritten()
{
    WindowKit kit;
    FMManager* window = kit.open();
    QVERIFY(window->project()->writeNow());
    Settings::setAfterWriteHook([](const QString& name) { QFile::resize(name, 0); });

    QCOMPARE(window->project()->set(QStringLiteral("channel.1.freq"), 99.9), 0);
    QTRY_VERIFY_WITH_TIMEOUT(window->statusBar()->currentMessage().contains(kit.workingCopy()),
                             WindowKit::kWaitMs);
    QVERIFY(window->statusBar()->currentMessage().startsWith(
        QStringLiteral("Änderungen konnten nicht gespeichert werden")));
    QVERIFY(QFileInfo(kit.workingCopy()).size() > 0);

    const QString target = kit.path(QStringLiteral("out.fm"));
    QVERIFY(!window->saveFile(target));
    QVERIFY(!QFile::exists(target));
    QVERIFY(window->project()->isDirty());

    // The disk has room again: the next write clears the warning.
    Settings::setAfterWriteHook({});
    QVERIFY(window->saveFile(target));
    QVERIFY(bytesOf(target).contains("freq=99.9"));
    QVERIFY(window->statusBar()->currentMessage().isEmpty());
}

QTEST_MAIN(TestFMManagerOddFiles)
#include "tst_fmmanageroddfiles.moc"
