// The file side of opening, starting and saving a project: which files hold
// what afterwards, for every way the disk can be found. Each row starts in a
// fresh temporary folder holding the application ini "Quorvin.ini" and
// whatever the row lays out; tests run as root, so an unwritable target is
// a folder that does not exist.
#include "main/ProjectFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kIni = QStringLiteral("Quorvin.ini");
const QString kWorkingCopy = QStringLiteral("Quorvin.fm");
const QString kMissing = QStringLiteral("-");
constexpr QFileDevice::Permissions kPrivate = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kEveryone = kPrivate | QFileDevice::ReadGroup |
                                               QFileDevice::WriteGroup | QFileDevice::ReadOther |
                                               QFileDevice::WriteOther;

// "a.fm=text;dir/b.fm=-": file name, '=', content, or "-" for no such file.
using Files = QMap<QString, QString>;

Files filesOf(const QString& text)
{
    Files files;
    for (const QString& item : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        files.insert(item.left(equals), item.mid(equals + 1));
    }
    return files;
}

QString contentOf(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return kMissing;
    return QString::fromUtf8(file.readAll());
}

} // namespace

class TestProjectFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void paths_data();
    void paths();
    void samePath_data();
    void samePath();
    void fileOperations_data();
    void fileOperations();
    void recentList_data();
    void recentList();
    void tenProjectsLeaveNine();

private:
    QString at(const QString& name) const { return dir->filePath(name); }
    void lay(const Files& files);

    std::unique_ptr<QTemporaryDir> dir;
};

void TestProjectFiles::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

// Files are laid out open to everyone, so a copy that kept the source's
// mode would show.
void TestProjectFiles::lay(const Files& files)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QVERIFY(QDir().mkpath(QFileInfo(at(it.key())).absolutePath()));
        if (it.value() == kMissing)
            continue;
        QFile file(at(it.key()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(it.value().toUtf8());
        file.close();
        QVERIFY(file.setPermissions(kEveryone));
    }
}

void TestProjectFiles::paths_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("workingCopy");
    QTest::addColumn<QString>("backup");

    QTest::newRow("default ini") << "/home/u/.quorvin/Quorvin.ini"
                                 << "/home/u/.quorvin/Quorvin.fm"
                                 << "/home/u/.quorvin/Quorvin.fbk";
    QTest::newRow("only the file name's suffix") << "/srv/y.ini/x.fm/q.ini"
                                                 << "/srv/y.ini/x.fm/q.fm"
                                                 << "/srv/y.ini/x.fm/q.fbk";
    QTest::newRow("no .ini suffix: .fm appended, never the ini itself") << "/srv/y.ini/q"
                                                                        << "/srv/y.ini/q.fm"
                                                                        << "/srv/y.ini/q.fbk";
    QTest::newRow(".ini inside the name stays") << "q.ini.old"
                                                << "q.ini.old.fm"
                                                << "q.ini.old.fbk";
    QTest::newRow("suffixes are case-sensitive") << "Q.INI"
                                                 << "Q.INI.fm"
                                                 << "Q.INI.fbk";
    QTest::newRow("relative name") << "q.ini"
                                   << "q.fm"
                                   << "q.fbk";
}

void TestProjectFiles::paths()
{
    QFETCH(QString, ini);
    QFETCH(QString, workingCopy);
    QFETCH(QString, backup);

    QCOMPARE(ProjectFiles::workingCopyPath(ini), workingCopy);
    QCOMPARE(ProjectFiles::backupPath(workingCopy), backup);
    QVERIFY(!ProjectFiles::samePath(ProjectFiles::backupPath(backup), backup));
}

void TestProjectFiles::samePath_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");

    const QString current = QDir::currentPath();
    QTest::newRow("equal") << "/a/q.fm"
                           << "/a/q.fm" << true;
    QTest::newRow("doubled separator") << "/a//q.fm"
                                       << "/a/q.fm" << true;
    QTest::newRow("dot and dot-dot") << "/a/./b/../q.fm"
                                     << "/a/q.fm" << true;
    QTest::newRow("relative against the current folder") << "q.fm" << current + "/q.fm" << true;
    QTest::newRow("other file") << "/a/q.fm"
                                << "/a/r.fm" << false;
    QTest::newRow("case counts") << "/a/Q.fm"
                                 << "/a/q.fm" << false;
    QTest::newRow("empty names no file") << "" << current << false;
}

void TestProjectFiles::samePath()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    QCOMPARE(ProjectFiles::samePath(a, b), same);
    QCOMPARE(ProjectFiles::samePath(b, a), same);
}

void TestProjectFiles::fileOperations_data()
{
    QTest::addColumn<QString>("operation"); // load, new or save
    QTest::addColumn<QString>("argument");  // relative to the folder; "" stays empty
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("result"); // error text of load, "true"/"false" otherwise
    QTest::addColumn<QString>("after");  // files expected, unnamed ones as before
    QTest::addColumn<QString>("privateFile");

    const QString notFound = QStringLiteral("Datei nicht gefunden");
    const QString work = QStringLiteral("Quorvin.fm=work;Quorvin.fbk=older;");

    QTest::newRow("load rotates the working copy to .fbk")
        << "load"
        << "p.fm" << work + "p.fm=project"
        << ""
        << "Quorvin.fm=project;Quorvin.fbk=work;p.fm=project"
        << "Quorvin.fm";
    QTest::newRow("load without a working copy") << "load"
                                                 << "p.fm"
                                                 << "p.fm=project"
                                                 << ""
                                                 << "Quorvin.fm=project;Quorvin.fbk=-"
                                                 << "Quorvin.fm";
    QTest::newRow("load the working copy itself copies nothing")
        << "load"
        << "Quorvin.fm" << work << "" << work << "";
    QTest::newRow("load the working copy spelled otherwise copies nothing")
        << "load"
        << "sub/..//Quorvin.fm" << work + "sub/x=-"
        << "" << work << "";
    QTest::newRow("load a missing file changes nothing")
        << "load"
        << "gone.fm" << work << notFound << work + "gone.fm=-"
        << "";
    QTest::newRow("load a folder changes nothing")
        << "load"
        << "x.fm" << work + "x.fm/p.fm=inside" << notFound << work << "";
    QTest::newRow("load the backup swaps it with the working copy")
        << "load"
        << "Quorvin.fbk" << work << ""
        << "Quorvin.fm=older;Quorvin.fbk=work"
        << "Quorvin.fm";
    QTest::newRow("load from a folder named x.fm")
        << "load"
        << "x.fm/p.fm" << work + "x.fm/p.fm=inside"
        << ""
        << "Quorvin.fm=inside;Quorvin.fbk=work;x.fm/p.fm=inside;x.fbk/p.fm=-"
        << "Quorvin.fm";

    QTest::newRow("new leaves no working copy") << "new"
                                                << "" << work << "true"
                                                << "Quorvin.fm=-;Quorvin.fbk=work"
                                                << "";
    QTest::newRow("new without a working copy") << "new"
                                                << ""
                                                << ""
                                                << "true"
                                                << "Quorvin.fm=-;Quorvin.fbk=-"
                                                << "";

    QTest::newRow("save to a new file") << "save"
                                        << "out.fm" << work << "true"
                                        << "out.fm=work;out.fbk=-"
                                        << "out.fm";
    QTest::newRow("save keeps the old target as backup") << "save"
                                                         << "out.fm" << work + "out.fm=old"
                                                         << "true"
                                                         << "out.fm=work;out.fbk=old"
                                                         << "out.fm";
    QTest::newRow("save leaves an existing backup as it was")
        << "save"
        << "out.fm" << work + "out.fm=old;out.fbk=oldest"
        << "true"
        << "out.fm=work;out.fbk=oldest"
        << "out.fm";
    QTest::newRow("save without .fm suffix appends .fbk") << "save"
                                                          << "out.txt" << work + "out.txt=old"
                                                          << "true"
                                                          << "out.txt=work;out.txt.fbk=old"
                                                          << "out.txt";
    QTest::newRow("save into a folder named x.fm") << "save"
                                                   << "x.fm/p.fm" << work + "x.fm/p.fm=old"
                                                   << "true"
                                                   << "x.fm/p.fm=work;x.fm/p.fbk=old;x.fbk/p.fm=-"
                                                   << "x.fm/p.fm";
    QTest::newRow("save into a missing folder fails") << "save"
                                                      << "gone/out.fm" << work << "false"
                                                      << "gone/out.fm=-;gone/out.fbk=-"
                                                      << "";
    QTest::newRow("save onto a folder fails") << "save"
                                              << "x.fm" << work + "x.fm/p.fm=inside"
                                              << "false"
                                              << "x.fbk=-"
                                              << "";
    QTest::newRow("save without a working copy fails, target kept") << "save"
                                                                    << "out.fm"
                                                                    << "out.fm=old"
                                                                    << "false"
                                                                    << "out.fbk=-"
                                                                    << "";
    QTest::newRow("save to an empty name is refused") << "save"
                                                      << "" << work << "false" << work << "";
    QTest::newRow("save onto the working copy is refused")
        << "save"
        << "Quorvin.fm" << work << "false" << work << "";
    QTest::newRow("save onto the working copy spelled otherwise is refused")
        << "save"
        << "sub/../Quorvin.fm" << work + "sub/x=-"
        << "false" << work << "";
    QTest::newRow("save onto the ini is refused")
        << "save"
        << "Quorvin.ini" << work << "false"
        << work + "Quorvin.ini=[Board]\nlang=de\n;Quorvin.ini.fbk=-"
        << "";
}

void TestProjectFiles::fileOperations()
{
    QFETCH(QString, operation);
    QFETCH(QString, argument);
    QFETCH(QString, before);
    QFETCH(QString, result);
    QFETCH(QString, after);
    QFETCH(QString, privateFile);

    Files expected = filesOf(QStringLiteral("Quorvin.ini=[Board]\nlang=de\n;") + before);
    lay(expected);
    const Files changes = filesOf(after);
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        expected.insert(it.key(), it.value());
    const QString path = argument.isEmpty() ? QString() : at(argument);
    const QString workingCopy = at(kWorkingCopy);

    if (operation == QLatin1String("load"))
        QCOMPARE(ProjectFiles::loadOntoWorkingCopy(path, workingCopy), result);
    else if (operation == QLatin1String("new"))
        QCOMPARE(ProjectFiles::startEmptyWorkingCopy(workingCopy) ? "true" : "false", result);
    else
        QCOMPARE(ProjectFiles::saveCopy(workingCopy, path, at(kIni)) ? "true" : "false", result);

    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(contentOf(at(it.key())) == it.value(), qPrintable(it.key()));
    if (!privateFile.isEmpty())
        QCOMPARE(QFile::permissions(at(privateFile)) & kEveryone, kPrivate);
    // Nothing half-written is left behind.
    const QStringList entries = QDir(dir->path()).entryList(QDir::Files);
    for (const QString& name : entries)
        QVERIFY2(expected.contains(name), qPrintable(name));
}

void TestProjectFiles::recentList_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("expected");

    const QStringList nine{"/p/9.fm", "/p/8.fm", "/p/7.fm", "/p/6.fm", "/p/5.fm",
                           "/p/4.fm", "/p/3.fm", "/p/2.fm", "/p/1.fm"};
    QTest::newRow("first project") << QStringList() << "/p/a.fm" << QStringList{"/p/a.fm"};
    QTest::newRow("a tenth drops the oldest")
        << nine << "/p/10.fm" << QStringList{"/p/10.fm"} + nine.mid(0, 8);
    QTest::newRow("slot 3 moves to slot 1, slots 4 on stay")
        << QStringList{"/a", "/b", "/c", "/d", "/e"} << "/c"
        << QStringList{"/c", "/a", "/b", "/d", "/e"};
    QTest::newRow("the current project stays where it is")
        << QStringList{"/a", "/b"} << "/a" << QStringList{"/a", "/b"};
    QTest::newRow("backslashes and doubled separators are one entry")
        << QStringList{"/home/u/p.fm", "/q.fm"} << " \\home\\u//p.fm "
        << QStringList{"/home/u/p.fm", "/q.fm"};
    QTest::newRow("stored spellings are written back in normal form")
        << QStringList{"C:\\fm\\a.fm", "C:/fm//a.fm"} << "/b.fm"
        << QStringList{"/b.fm", "C:/fm/a.fm"};
    QTest::newRow("three separators shrink by one pass only")
        << QStringList{"/x///a.fm"} << "/x//a.fm" << QStringList{"/x/a.fm", "/x//a.fm"};
    QTest::newRow("empty slots are skipped")
        << QStringList{"", "/a", "  ", "/b"} << "/c" << QStringList{"/c", "/a", "/b"};
    QTest::newRow("case counts") << QStringList{"/P.fm"} << "/p.fm"
                                 << QStringList{"/p.fm", "/P.fm"};
}

void TestProjectFiles::recentList()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, path);
    QFETCH(QStringList, expected);
    QCOMPARE(ProjectFiles::updatedRecent(stored, path), expected);
}

void TestProjectFiles::tenProjectsLeaveNine()
{
    QStringList recent;
    for (int i = 1; i <= 10; ++i)
        recent = ProjectFiles::updatedRecent(recent, QStringLiteral("/p/%1.fm").arg(i));
    QCOMPARE(recent.size(), ProjectFiles::kRecentSlots);
    QCOMPARE(recent.first(), QStringLiteral("/p/10.fm"));
    QCOMPARE(recent.last(), QStringLiteral("/p/2.fm"));
}

QTEST_GUILESS_MAIN(TestProjectFiles)
#include "tst_projectfiles.moc"
