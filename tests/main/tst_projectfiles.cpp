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
// A content that does not begin with '[' stands for a project whose one
// key holds that word (only projects can be opened); it is laid out and
// read back in that form. An empty content is an empty file.
using Files = QMap<QString, QString>;

const QString kProjectHead = QStringLiteral("[rds.1]\nps=");

QByteArray fileText(const QString& content)
{
    if (content.isEmpty() || content.startsWith(QLatin1Char('[')))
        return content.toUtf8();
    return (kProjectHead + content + QLatin1Char('\n')).toUtf8();
}

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
    const QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(kProjectHead) && text.endsWith(QLatin1Char('\n')))
        return text.mid(kProjectHead.size()).chopped(1);
    return text;
}

// Unix mode bits (owner, group, others; read and write) as Qt permissions.
QFileDevice::Permissions permissionsOf(int mode)
{
    QFileDevice::Permissions permissions;
    if (mode & 0400)
        permissions |= QFileDevice::ReadOwner;
    if (mode & 0200)
        permissions |= QFileDevice::WriteOwner;
    if (mode & 0040)
        permissions |= QFileDevice::ReadGroup;
    if (mode & 0020)
        permissions |= QFileDevice::WriteGroup;
    if (mode & 0004)
        permissions |= QFileDevice::ReadOther;
    if (mode & 0002)
        permissions |= QFileDevice::WriteOther;
    return permissions;
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
    void reservedByAnyName_data();
    void reservedByAnyName();
    void saveKeepsTheTargetsMode_data();
    void saveKeepsTheTargetsMode();
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
        file.write(fileText(it.value()));
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
    const QString notProject = QStringLiteral("Keine FM-Einstellung (Projektdatei)");
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
        << "x.fm" << work + "x.fm/p.fm=inside"
        << "Das ist ein Ordner, keine Datei" << work << "";
    QTest::newRow("load the application ini changes nothing")
        << "load"
        << "Quorvin.ini" << work << notProject << work << "";
    QTest::newRow("load a song changes nothing")
        << "load"
        << "s.mp3" << work + "s.mp3=ID3\x03\x01\xff\xfb" << notProject << work << "";
    QTest::newRow("load text that is no ini changes nothing")
        << "load"
        << "notes.txt" << work + "notes.txt=[rds.1\nps=x\n"
        << notProject << work << "";
    QTest::newRow("load an empty file: every key at its default")
        << "load"
        << "e.fm" << work + "e.fm="
        << ""
        << "Quorvin.fm=;Quorvin.fbk=work;e.fm="
        << "Quorvin.fm";
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
                                                         << "";
    QTest::newRow("save leaves an existing backup as it was")
        << "save"
        << "out.fm" << work + "out.fm=old;out.fbk=oldest"
        << "true"
        << "out.fm=work;out.fbk=oldest"
        << "";
    QTest::newRow("save without .fm suffix appends .fbk") << "save"
                                                          << "out.txt" << work + "out.txt=old"
                                                          << "true"
                                                          << "out.txt=work;out.txt.fbk=old"
                                                          << "";
    QTest::newRow("save into a folder named x.fm") << "save"
                                                   << "x.fm/p.fm" << work + "x.fm/p.fm=old"
                                                   << "true"
                                                   << "x.fm/p.fm=work;x.fm/p.fbk=old;x.fbk/p.fm=-"
                                                   << "";
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
    QTest::newRow("save onto the working copy's backup is refused")
        << "save"
        << "Quorvin.fbk" << work << "false" << work << "";
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

// Another name of the ini, the working copy or its backup: a link to it, a
// link to its folder, or the way through /proc/self/root.
void TestProjectFiles::reservedByAnyName_data()
{
    QTest::addColumn<QString>("reserved");
    QTest::addColumn<QString>("via"); // "file link", "folder link" or "proc"

    for (const QString& reserved : {kIni, kWorkingCopy, QStringLiteral("Quorvin.fbk")}) {
        for (const QString via : {"file link", "folder link", "proc"})
            QTest::addRow("%s through a %s", qPrintable(reserved), qPrintable(via))
                << reserved << via;
    }
}

void TestProjectFiles::reservedByAnyName()
{
    QFETCH(QString, reserved);
    QFETCH(QString, via);

    lay(filesOf(
        QStringLiteral("Quorvin.ini=[Board]\nlang=de\n;Quorvin.fm=work;Quorvin.fbk=older")));
    QString target;
    if (via == QLatin1String("file link")) {
        target = at(QStringLiteral("elsewhere/link.fm"));
        QVERIFY(QDir().mkpath(QFileInfo(target).absolutePath()));
        QVERIFY(QFile::link(at(reserved), target));
    } else if (via == QLatin1String("folder link")) {
        QVERIFY(QFile::link(dir->path(), at(QStringLiteral("same"))));
        target = at(QStringLiteral("same/") + reserved);
    } else {
        target = QStringLiteral("/proc/self/root") + at(reserved);
    }
    const QString before = contentOf(at(reserved));

    QVERIFY(ProjectFiles::isReserved(target, at(kWorkingCopy), at(kIni)));
    QVERIFY(!ProjectFiles::saveCopy(at(kWorkingCopy), target, at(kIni)));
    QCOMPARE(contentOf(at(reserved)), before);
    // Loading the working copy by another name copies nothing either.
    if (reserved == kWorkingCopy) {
        QCOMPARE(ProjectFiles::loadOntoWorkingCopy(target, at(kWorkingCopy)), QString());
        QCOMPARE(contentOf(at(QStringLiteral("Quorvin.fbk"))), QStringLiteral("older"));
    }
}

// A project saved over an existing file keeps the mode its owner gave it;
// a new one is private.
void TestProjectFiles::saveKeepsTheTargetsMode_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("expected");

    QTest::newRow("new file") << false << 0 << 0600;
    QTest::newRow("shared with the group") << true << 0660 << 0660;
    QTest::newRow("readable by everyone") << true << 0644 << 0644;
    QTest::newRow("private") << true << 0600 << 0600;
    QTest::newRow("open to everyone") << true << 0666 << 0666;
}

void TestProjectFiles::saveKeepsTheTargetsMode()
{
    QFETCH(bool, exists);
    QFETCH(int, mode);
    QFETCH(int, expected);

    lay(filesOf(QStringLiteral("Quorvin.fm=work")));
    const QString target = at(QStringLiteral("out.fm"));
    if (exists) {
        lay(filesOf(QStringLiteral("out.fm=old")));
        QVERIFY(QFile::setPermissions(target, permissionsOf(mode)));
    }
    QVERIFY(ProjectFiles::saveCopy(at(kWorkingCopy), target, at(kIni)));
    QCOMPARE(contentOf(target), QStringLiteral("work"));
    QCOMPARE(QFile::permissions(target) & kEveryone, permissionsOf(expected));
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
