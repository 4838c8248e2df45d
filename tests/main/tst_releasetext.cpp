// The release text the build step takes from git: the plain release for a
// build of the release itself, the full build description for any other
// commit. A small repository made here stands for the source tree, with and
// without the release tag.
#include "main/FMManager.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr char kReleaseLine[] = "project(Quorvin VERSION %1 LANGUAGES CXX)\n";

// Runs a program to its end; its standard output, trimmed.
QString run(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program + QLatin1Char(' ') + arguments.join(' ')),
               process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

class Repository
{
public:
    explicit Repository(const QString& folder) : folder(folder)
    {
        git({"init", "-q"});
    }

    // Commits the file with the text; returns the commit id.
    QString commit(const QString& file, const QByteArray& text)
    {
        QFile out(folder + QLatin1Char('/') + file);
        if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size())
            qFatal("cannot write %s", qPrintable(file));
        out.close();
        git({"add", file});
        git({"-c", "user.name=Test", "-c", "user.email=test@quorvin.invalid", "-c",
             "commit.gpgsign=false", "commit", "-q", "-m", file});
        return git({"rev-parse", "HEAD"});
    }

    QString git(const QStringList& arguments) const
    {
        return run(QStringLiteral("git"), arguments, folder);
    }

private:
    QString folder;
};

QByteArray releaseLine(const char* release)
{
    return QString::fromLatin1(kReleaseLine).arg(QLatin1String(release)).toLatin1();
}

// The kBuildRelease text of the header the build step writes for the folder.
QString releaseText(const QString& sourceFolder, const QString& header)
{
    run(QStringLiteral(CMAKE_COMMAND),
        {"-DSOURCE_DIR=" + sourceFolder, "-DRELEASE=4.66", "-DOUTPUT=" + header, "-P",
         QStringLiteral(TEST_SOURCE_ROOT "/cmake/ReleaseText.cmake")},
        sourceFolder);
    QFile file(header);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const auto match = QRegularExpression(QStringLiteral("kBuildRelease\\[\\] = \"([^\"]*)\";"))
                           .match(QString::fromUtf8(file.readAll()));
    return match.hasMatch() ? match.captured(1) : QStringLiteral("<no kBuildRelease>");
}

} // namespace

class TestReleaseText : public QObject
{
    Q_OBJECT

private slots:
    void fromGitHistory_data();
    void fromGitHistory();
    void withoutGitPlainRelease();
    void windowTitleStem();
};

void TestReleaseText::fromGitHistory_data()
{
    // Commits: 0 an older release, 1 sets the release number 4.66, 2 and 3
    // later work.
    QTest::addColumn<int>("head");
    QTest::addColumn<int>("tagAt");
    QTest::addColumn<int>("since");
    QTest::newRow("commit that set the release number") << 1 << -1 << 0;
    QTest::newRow("two commits after the release number") << 3 << -1 << 2;
    QTest::newRow("tagged head") << 3 << 3 << 0;
    QTest::newRow("one commit after the tag") << 3 << 2 << 1;
    QTest::newRow("tag before the release number counts from the tag") << 3 << 0 << 3;
}

void TestReleaseText::fromGitHistory()
{
    QFETCH(int, head);
    QFETCH(int, tagAt);
    QFETCH(int, since);
    if (QStandardPaths::findExecutable(QStringLiteral("git")).isEmpty())
        QSKIP("git is not installed");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("source"));
    QVERIFY(QDir().mkpath(source));
    Repository repository(source);
    const QStringList commits{
        repository.commit(QStringLiteral("CMakeLists.txt"), releaseLine("4.65")),
        repository.commit(QStringLiteral("CMakeLists.txt"), releaseLine("4.66")),
        repository.commit(QStringLiteral("a.cpp"), "int a;\n"),
        repository.commit(QStringLiteral("b.cpp"), "int b;\n"),
    };
    if (tagAt >= 0)
        repository.git({"tag", "v4.66", commits.at(tagAt)});
    repository.git({"checkout", "-q", commits.at(head)});

    const QString expected =
        since == 0 ? QStringLiteral("v4.66")
                   : QStringLiteral("v4.66-%1-%2").arg(since).arg(commits.at(head).left(12));
    QCOMPARE(releaseText(source, dir.filePath(QStringLiteral("BuildRelease.h"))), expected);
}

// A source tree without git history (an unpacked archive) is the release.
void TestReleaseText::withoutGitPlainRelease()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(releaseText(dir.path(), dir.filePath(QStringLiteral("BuildRelease.h"))),
             QStringLiteral("v4.66"));
}

void TestReleaseText::windowTitleStem()
{
    static const QRegularExpression form(
        QStringLiteral("^Quorvin Generator v4\\.66(-[1-9][0-9]*-[0-9a-f]{12})?$"));
    QVERIFY2(form.match(FMManager::versionText()).hasMatch(), qPrintable(FMManager::versionText()));
}

QTEST_MAIN(TestReleaseText)
#include "tst_releasetext.moc"
