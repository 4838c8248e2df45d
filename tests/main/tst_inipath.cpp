// Where the program keeps its application ini, from the command line, the
// home directory and an older installation's APPDATA folder. Home and
// APPDATA are temporary folders, so no test touches the user's own ini.
#include "main/IniPath.h"
#include "remote/FMServer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const QString kOlderContent = QStringLiteral("[Board]\nlang=de\n");

bool writeFile(const QString& path, const QString& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content.toUtf8()) == content.size();
}

QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestIniPath : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void commandLine_data();
    void commandLine();
    void olderIni_data();
    void olderIni();
    void serverSharesTheDirectory();
    void onlyAFileCanBeTheIni_data();
    void onlyAFileCanBeTheIni();

private:
    std::unique_ptr<QTemporaryDir> root;
    QString home;
    QString appData;
    QString settingsDir;
};

void TestIniPath::init()
{
    root = std::make_unique<QTemporaryDir>();
    QVERIFY(root->isValid());
    home = root->filePath(QStringLiteral("home"));
    appData = root->filePath(QStringLiteral("appdata"));
    QVERIFY(QDir().mkpath(home));
    settingsDir = home + QStringLiteral("/.quorvin/");
}

void TestIniPath::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected"); // "~/" stands for the settings directory
    QTest::addColumn<bool>("directoryMade");

    QTest::newRow("no option") << QStringList{"Quorvin"} << "~/Quorvin.ini" << true;
    QTest::newRow("bare name into the settings directory")
        << QStringList{"Quorvin", "-i", "q.ini"} << "~/q.ini" << true;
    QTest::newRow("forward slash taken unchanged")
        << QStringList{"Quorvin", "-i", "some/where/q.ini"} << "some/where/q.ini" << false;
    QTest::newRow("backslash taken unchanged")
        << QStringList{"Quorvin", "-i", "C:\\fm\\q.ini"} << "C:\\fm\\q.ini" << false;
    QTest::newRow("absolute path taken unchanged")
        << QStringList{"Quorvin", "-i", "/srv/fm/q.ini"} << "/srv/fm/q.ini" << false;
    QTest::newRow("-i last is ignored")
        << QStringList{"Quorvin", "-x", "-i"} << "~/Quorvin.ini" << true;
    QTest::newRow("the second -i wins")
        << QStringList{"Quorvin", "-i", "a.ini", "-i", "b.ini"} << "~/b.ini" << true;
    QTest::newRow("-i naming -i, then a name")
        << QStringList{"Quorvin", "-i", "-i", "c.ini"} << "~/c.ini" << true;
    QTest::newRow("only exactly -i counts")
        << QStringList{"Quorvin", "-I", "a.ini", "--i", "b.ini"} << "~/Quorvin.ini" << true;
    QTest::newRow("the program name is no option")
        << QStringList{"-i", "a.ini"} << "~/Quorvin.ini" << true;
}

void TestIniPath::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QFETCH(bool, directoryMade);

    expected.replace(QStringLiteral("~/"), settingsDir);
    QCOMPARE(iniPath(arguments, home, appData), expected);
    QCOMPARE(QDir(settingsDir).exists(), directoryMade);
}

void TestIniPath::olderIni_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("olderIniExists");
    QTest::addColumn<bool>("iniExists");
    QTest::addColumn<QString>("appDataSetting"); // "@" for the temporary APPDATA
    QTest::addColumn<bool>("takenOver");

    const QStringList plain{"Quorvin"};
    QTest::newRow("first start takes the older ini over") << plain << true << false << "@" << true;
    QTest::newRow("a bare -i name still fills Quorvin.ini")
        << QStringList{"Quorvin", "-i", "other.ini"} << true << false << "@" << true;
    QTest::newRow("an existing ini is kept") << plain << true << true << "@" << false;
    QTest::newRow("no APPDATA") << plain << true << false << "" << false;
    QTest::newRow("APPDATA folder missing") << plain << false << false << "@/gone" << false;
    QTest::newRow("no older ini") << plain << false << false << "@" << false;
    QTest::newRow("a path with a separator copies nothing")
        << QStringList{"Quorvin", "-i", "./q.ini"} << true << false << "@" << false;
}

void TestIniPath::olderIni()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, olderIniExists);
    QFETCH(bool, iniExists);
    QFETCH(QString, appDataSetting);
    QFETCH(bool, takenOver);

    QVERIFY(QDir().mkpath(appData));
    if (olderIniExists)
        QVERIFY(writeFile(appData + QStringLiteral("/Ostvalde/Quorvin.ini"), kOlderContent));
    const QString ini = settingsDir + QStringLiteral("Quorvin.ini");
    if (iniExists)
        QVERIFY(writeFile(ini, QStringLiteral("[Board]\nlang=en\n")));
    if (takenOver)
        QTest::ignoreMessage(QtDebugMsg, qPrintable("Quorvin.ini copied to " + settingsDir));

    iniPath(arguments, home, appDataSetting.replace(QLatin1Char('@'), appData));

    QCOMPARE(readFile(ini) == kOlderContent, takenOver);
}

// The remote-control server starts in the folder the program window keeps
// its ini in, and a first start takes the older ini over for either.
void TestIniPath::serverSharesTheDirectory()
{
    QVERIFY(writeFile(appData + QStringLiteral("/Ostvalde/Quorvin.ini"), kOlderContent));
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldAppData = qgetenv("APPDATA");
    qputenv("HOME", home.toUtf8());
    qputenv("APPDATA", appData.toUtf8());
    QTest::ignoreMessage(QtDebugMsg, qPrintable("Quorvin.ini copied to " + settingsDir));
    const QString serverDirectory = FMServer::settingsDirectory();
    qputenv("HOME", oldHome);
    qputenv("APPDATA", oldAppData);

    QCOMPARE(serverDirectory, settingsDir);
    QCOMPARE(readFile(settingsDir + QStringLiteral("Quorvin.ini")), kOlderContent);
    QCOMPARE(iniPath({"Quorvin"}, home, QString()), settingsDir + QStringLiteral("Quorvin.ini"));
}

void TestIniPath::onlyAFileCanBeTheIni_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("refusal"); // empty: the path is fine

    const QString folder = QStringLiteral("it is a folder");
    QTest::newRow("no option") << QStringList{"Quorvin"} << QString();
    QTest::newRow("a file not yet written") << QStringList{"Quorvin", "-i", "new.ini"} << QString();
    QTest::newRow("an existing file") << QStringList{"Quorvin", "-i", "@/file.ini"} << QString();
    QTest::newRow("a link to a file") << QStringList{"Quorvin", "-i", "@/link.ini"} << QString();
    QTest::newRow("empty name") << QStringList{"Quorvin", "-i", ""} << folder;
    QTest::newRow("dot") << QStringList{"Quorvin", "-i", "."} << folder;
    QTest::newRow("dot dot") << QStringList{"Quorvin", "-i", ".."} << folder;
    QTest::newRow("a folder") << QStringList{"Quorvin", "-i", "@/folder"} << folder;
    QTest::newRow("a link to a folder") << QStringList{"Quorvin", "-i", "@/folderlink"} << folder;
    QTest::newRow("ending in a separator") << QStringList{"Quorvin", "-i", "@/new/"} << folder;
    QTest::newRow("a FIFO") << QStringList{"Quorvin", "-i", "@/fifo"}
                            << QStringLiteral("it is no regular file");
    QTest::newRow("a device") << QStringList{"Quorvin", "-i", "/dev/null"}
                              << QStringLiteral("it is no regular file");
}

void TestIniPath::onlyAFileCanBeTheIni()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, refusal);
    const QString base = root->path();
    QVERIFY(writeFile(base + QStringLiteral("/file.ini"), kOlderContent));
    QVERIFY(QFile::link(base + QStringLiteral("/file.ini"), base + QStringLiteral("/link.ini")));
    QVERIFY(QDir(base).mkdir(QStringLiteral("folder")));
    QVERIFY(QFile::link(base + QStringLiteral("/folder"), base + QStringLiteral("/folderlink")));
    QCOMPARE(::mkfifo(qPrintable(base + QStringLiteral("/fifo")), 0600), 0);
    arguments.replaceInStrings(QStringLiteral("@"), base);

    QCOMPARE(iniPathRefusal(iniPath(arguments, home, appData)), refusal);
}

QTEST_GUILESS_MAIN(TestIniPath)
#include "tst_inipath.moc"
