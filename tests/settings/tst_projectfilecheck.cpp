// Which files may become the open project: the text of a project, what a
// store writes, and the files an operator or a client may name by mistake
// or on purpose (a song, the application ini, a folder, a FIFO, a stored
// binary object).
#include "ProjectFileKit.h"

#include "settings/ProjectFileCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using Verdict = ProjectFileCheck::Verdict;
Q_DECLARE_METATYPE(ProjectFileCheck::Verdict)

class TestProjectFileCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FMSettings::defineKeys(); }
    void content_data();
    void content();
    void whatTheStoreWritesIsAProject();
    void examplesAreProjects();
    void filesThatAreNoRegularFile_data();
    void filesThatAreNoRegularFile();
};

void TestProjectFileCheck::content_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<int>("line");

    QTest::newRow("empty file: every key at its default") << QByteArray() << Verdict::Project << 0;
    QTest::newRow("blank lines and comments only")
        << QByteArray("\n  \n; saved by hand\n") << Verdict::Project << 0;
    QTest::newRow("every group kind")
        << QByteArray("[board]\nband=1\n[channel.1]\nfreq=98.0\n[audio.2]\nname=Ton\n"
                      "[playlist.3]\n1=/m/a.flac\n[rds.1]\nps=Quorvin\neon\\1=3 d313 5\n"
                      "[tmc.1]\n0=1 0 1500\n[events.1]\n0=100 rds.1.ps X\n")
        << Verdict::Project << 0;
    QTest::newRow("group names in any case, CR LF line ends, byte order mark")
        << QByteArray("\xef\xbb\xbf[Board]\r\nband=0\r\n[RDS.1]\r\nps=x\r\n") << Verdict::Project
        << 0;
    QTest::newRow("umlauts and byte arrays")
        << QByteArray("[rds.1]\nps=Grüße\nenc=@ByteArray(UTF-8)\n") << Verdict::Project << 0;
    QTest::newRow("escaped at sign is text")
        << QByteArray("[rds.1]\nps=@@Variant(x)\n") << Verdict::Project << 0;

    QTest::newRow("the application ini")
        << QByteArray("[Board]\nmods=2\n[Last]\nfile1=/p.fm\n") << Verdict::NotProject << 2;
    QTest::newRow("a board group with keys of the application ini")
        << QByteArray("[board]\nband=1\nattn=0\ngmin=1\nrand=7\nlang=de\n") << Verdict::NotProject
        << 6;
    QTest::newRow("a foreign group after project groups")
        << QByteArray("[board]\nband=0\n\n[Main]\ngeometry=x\n") << Verdict::NotProject << 4;
    QTest::newRow("keys outside any group")
        << QByteArray("band=1\n[board]\n") << Verdict::NotProject << 1;
    QTest::newRow("General group") << QByteArray("[General]\nx=1\n") << Verdict::NotProject << 1;
    QTest::newRow("a line without a value")
        << QByteArray("[board]\nband\n") << Verdict::NotProject << 2;
    QTest::newRow("an unterminated group")
        << QByteArray("[rds.2\nps=x\n") << Verdict::NotProject << 1;
    QTest::newRow("a status file of /proc")
        << QByteArray("Name:\tQuorvin\nState:\tS (sleeping)\n") << Verdict::NotProject << 1;
    QTest::newRow("plain text") << QByteArray("Hello\n") << Verdict::NotProject << 1;

    QTest::newRow("the start of an MP3")
        << QByteArray::fromHex("4944330300000000000f5449543200000006000000616263ff")
        << Verdict::NotText << 0;
    QTest::newRow("UTF-16 text") << QByteArray("\xff\xfe[\0b\0o\0a\0r\0d\0]\0\n\0", 18)
                                 << Verdict::NotText << 0;
    QTest::newRow("Latin-1 bytes")
        << QByteArray("[rds.1]\nps=Gr\xfc\xdf\n") << Verdict::NotText << 0;
    QTest::newRow("a NUL inside a project")
        << QByteArray("[rds.1]\nps=a\0b\n", 15) << Verdict::NotText << 0;

    QTest::newRow("a stored object")
        << QByteArray("[rds.1]\nps=@Variant(\\0\\0\\0\\x7f\\0\\0)\n") << Verdict::StoredObject << 2;
    QTest::newRow("a stored object in a list")
        << QByteArray("[rds.1]\nfiles=a, @Variant(\\0\\0\\0\\x7f)\n") << Verdict::StoredObject << 2;
    QTest::newRow("a stored object in quotes")
        << QByteArray("[rds.1]\nps=\"@Variant(\\0)\"\n") << Verdict::StoredObject << 2;
    QTest::newRow("a stored object behind an escaped at sign")
        << QByteArray("[rds.1]\nps=\\x40Variant(\\0)\n") << Verdict::StoredObject << 2;
    QTest::newRow("a stored object after a byte array in a list")
        << QByteArray("[rds.1]\nenc=@ByteArray(x), @Variant(\\0)\n") << Verdict::StoredObject << 2;
    QTest::newRow("a stored date")
        << QByteArray("[rds.1]\nps=@DateTime(\\0\\0)\n") << Verdict::StoredObject << 2;
}

void TestProjectFileCheck::content()
{
    QFETCH(QByteArray, content);
    QFETCH(Verdict, verdict);
    QFETCH(int, line);

    const ProjectFileCheck::Result result = ProjectFileCheck::check(content);
    QCOMPARE(result.verdict, verdict);
    QCOMPARE(result.line, line);

    // Read from disk, the bytes handed back are the bytes checked.
    ProjectFolder folder;
    QByteArray read;
    QCOMPARE(ProjectFileCheck::read(folder.write(content), read).verdict, verdict);
    QCOMPARE(read, content);
}

// Texts that look like the ini format's own notation go through the store
// and back, so a project the program saved always loads again.
void TestProjectFileCheck::whatTheStoreWritesIsAProject()
{
    ProjectFolder folder;
    const QString file = folder.path();
    {
        auto store = ProjectFolder::open(file);
        store->setValue(QStringLiteral("rds.1.ps"), QStringLiteral("@Variant(x)"));
        store->setValue(QStringLiteral("rds.1.rta"), QStringLiteral("a\nb=c;[d]\t\"e\" ÄÖÜ€"));
        store->setValue(QStringLiteral("rds.2.lps"), QStringLiteral("\\x40Variant("));
        store->setValue(QStringLiteral("channel.3.freq"), 98.5);
        store->setValue(QStringLiteral("rds.1.files"), QStringList{"a,b", "@c", ""});
        store->setValue(QStringLiteral("audio.1.name"), QByteArray("\x01\x02@Variant("));
        QVERIFY(store->writeNow());
    }
    QByteArray content;
    const ProjectFileCheck::Result result = ProjectFileCheck::read(file, content);
    QVERIFY2(result.verdict == Verdict::Project,
             qPrintable(QStringLiteral("%1, line %2:\n%3")
                            .arg(QLatin1String(ProjectFileCheck::describe(result.verdict)))
                            .arg(result.line)
                            .arg(QString::fromUtf8(content))));
}

void TestProjectFileCheck::examplesAreProjects()
{
    const QDir examples(QStringLiteral(TEST_SOURCE_ROOT "/examples"));
    const QStringList files = examples.entryList({QStringLiteral("*.fm")}, QDir::Files);
    QVERIFY(!files.isEmpty());
    for (const QString& name : files) {
        QByteArray content;
        QVERIFY2(ProjectFileCheck::read(examples.filePath(name), content).verdict ==
                     Verdict::Project,
                 qPrintable(name));
    }
}

void TestProjectFileCheck::filesThatAreNoRegularFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Verdict>("verdict");

    QTest::newRow("missing") << "missing" << Verdict::Missing;
    QTest::newRow("below a file") << "below a file" << Verdict::Missing;
    QTest::newRow("folder") << "folder" << Verdict::Folder;
    // Opening a FIFO without a writer blocks a plain open() for good.
    QTest::newRow("FIFO without a writer") << "fifo" << Verdict::NotRegularFile;
    QTest::newRow("device") << "device" << Verdict::NotRegularFile;
    QTest::newRow("link to a project") << "link" << Verdict::Project;
    // Sparse: it takes no room, and it is not read.
    QTest::newRow("larger than any project") << "huge" << Verdict::NotProject;
}

void TestProjectFileCheck::filesThatAreNoRegularFile()
{
    QFETCH(QString, kind);
    QFETCH(Verdict, verdict);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath(QStringLiteral("p.fm"));
    ProjectFolder folder;
    const QString project = folder.write("[board]\nband=1\n");
    if (kind == QLatin1String("below a file"))
        path = project + QStringLiteral("/p.fm");
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    else if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == QLatin1String("device"))
        path = QStringLiteral("/dev/zero");
    else if (kind == QLatin1String("link"))
        QVERIFY(QFile::link(project, path));
    else if (kind == QLatin1String("huge")) {
        QFile huge(path);
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(qint64(2) << 30));
    }

    QByteArray content;
    QCOMPARE(ProjectFileCheck::read(path, content).verdict, verdict);
}

QTEST_GUILESS_MAIN(TestProjectFileCheck)
#include "tst_projectfilecheck.moc"
