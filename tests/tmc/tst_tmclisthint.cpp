// The TMC page started where no reference lists lie: it says which lists it
// wants and in which folder, instead of showing bare codes without a word.
#include "tmc/page/TMCListLoader.h"
#include "tmc/page/TabTMC.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kSampleLists = QStringLiteral(TEST_DATA_DIR "/lists");

} // namespace

class TestTMCListHint : public QObject
{
    Q_OBJECT

private slots:
    void missingIn_data();
    void missingIn();
    void pageNamesTheMissingLists();
};

void TestTMCListHint::missingIn_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("missing");
    const QStringList all{"ECL401.csv", "forecast.csv", "suppinfo.csv", "LCL*.csv"};
    QTest::newRow("empty folder") << QStringList() << all;
    QTest::newRow("every list") << QStringList{"ECL401.csv", "forecast.csv", "suppinfo.csv",
                                               "LCL1.csv"}
                                << QStringList();
    QTest::newRow("events without locations")
        << QStringList{"ECL401.csv", "forecast.csv", "suppinfo.csv"} << QStringList{"LCL*.csv"};
    QTest::newRow("locations only")
        << QStringList{"LCL0.csv"} << QStringList{"ECL401.csv", "forecast.csv", "suppinfo.csv"};
}

void TestTMCListHint::missingIn()
{
    QFETCH(QStringList, present);
    QFETCH(QStringList, missing);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString& name : present)
        QVERIFY(QFile::copy(kSampleLists + QLatin1Char('/') + name, dir.filePath(name)));
    QCOMPARE(TMCListLoader::missingIn(dir.path()), missing);
}

// The lists are read once per process, from the folder current when the
// first page is made: here an empty one.
void TestTMCListHint::pageNamesTheMissingLists()
{
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));
    TabTMC page;
    QDir::setCurrent(previous);

    const QString folder = QDir::toNativeSeparators(QDir(work.path()).filePath("lists"));
    QCOMPARE(TMCListLoader::folder(), QDir::cleanPath(QDir(work.path()).filePath("lists")));
    auto* hint = page.findChild<QLabel*>(QStringLiteral("listsHint"));
    QVERIFY(hint);
    QVERIFY(hint->isVisibleTo(&page));
    QVERIFY2(hint->text().contains(folder), qPrintable(hint->text()));
    for (const char* name : {"ECL401.csv", "forecast.csv", "suppinfo.csv", "LCL*.csv"})
        QVERIFY2(hint->text().contains(QLatin1String(name)), qPrintable(hint->text()));
}

QTEST_MAIN(TestTMCListHint)
#include "tst_tmclisthint.moc"
