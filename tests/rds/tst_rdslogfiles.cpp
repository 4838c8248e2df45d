#include "RdsPageKit.h"

#include "rds/RDSLogFiles.h"

#include <QColor>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

class TestRDSLogFiles : public QObject
{
    Q_OBJECT

private slots:
    void removingKeepsTheOtherRowsInOrder_data();
    void removingKeepsTheOtherRowsInOrder();
    void missingFileIsLightRed();
    void chosenFilesAreAppended();
    void deletingSelectedRows();
    void preview_data();
    void preview();
    void loadingAnotherSourceReplacesTheList();
    void listAndSwitchAreStored();
    void panesSayWhatTheyHold();

private:
    static QString writeFile(const QTemporaryDir& dir, const QString& name,
                             const QByteArray& bytes);
    static QStringList names(const RDSLogFiles& model);
    // A source that plays log files: the list is enabled only then.
    static RdsPageKit::Keys playingSource();
};

RdsPageKit::Keys TestRDSLogFiles::playingSource()
{
    RdsPageKit::Keys keys = RdsPageKit::sources({1});
    keys.append({QStringLiteral("rds.1/fused"), true});
    return keys;
}

QString TestRDSLogFiles::writeFile(const QTemporaryDir& dir, const QString& name,
                                   const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(file.fileName()));
    file.write(bytes);
    return file.fileName();
}

QStringList TestRDSLogFiles::names(const RDSLogFiles& model)
{
    QStringList shown;
    for (int row = 0; row < model.rowCount(); ++row)
        shown << model.data(model.index(row), Qt::DisplayRole).toString();
    return shown;
}

void TestRDSLogFiles::removingKeepsTheOtherRowsInOrder_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QStringList>("left");

    QTest::newRow("rows 1 and 3") << QList<int>{1, 3} << QStringList{"a", "c", "e"};
    QTest::newRow("given backwards and twice") << QList<int>{3, 1, 3} << QStringList{"a", "c", "e"};
    QTest::newRow("first and last") << QList<int>{0, 4} << QStringList{"b", "c", "d"};
    QTest::newRow("outside the list") << QList<int>{5, 9} << QStringList{"a", "b", "c", "d", "e"};
    QTest::newRow("nothing") << QList<int>{} << QStringList{"a", "b", "c", "d", "e"};
}

void TestRDSLogFiles::removingKeepsTheOtherRowsInOrder()
{
    QFETCH(QList<int>, rows);
    QFETCH(QStringList, left);

    RDSLogFiles model;
    model.reload({"a", "b", "c", "d", "e"});
    QModelIndexList indexes;
    for (int row : rows)
        indexes << model.index(row < model.rowCount() ? row : 0).siblingAtRow(row);
    model.removeFiles(indexes);
    QCOMPARE(names(model), left);
    QCOMPARE(model.fileName(int(left.size())), QString());
    QCOMPARE(model.fileName(-1), QString());
}

void TestRDSLogFiles::missingFileIsLightRed()
{
    QTemporaryDir dir;
    const QString present = writeFile(dir, QStringLiteral("da.txt"), "x");
    RDSLogFiles model;
    model.addFiles({present, dir.filePath(QStringLiteral("weg.txt"))});
    QCOMPARE(model.data(model.index(0), Qt::BackgroundRole), QVariant());
    QCOMPARE(model.data(model.index(1), Qt::BackgroundRole).value<QColor>(), QColor(0xFFC0C0));
    QVERIFY(!model.flags(model.index(0)).testFlag(Qt::ItemIsEditable));
    QVERIFY(model.flags(model.index(0)).testFlag(Qt::ItemIsSelectable));
}

void TestRDSLogFiles::chosenFilesAreAppended()
{
    RdsPageKit kit(playingSource());
    auto* add = kit.find<QPushButton>("BaddLog");
    const QStringList first = {"/logs/a.txt", "/logs/b.txt", "/logs/c.txt"};
    const QStringList second = {"/other/d.log", "/other/e.log"};
    ModalQuestions::setNextFileNames(first);
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(ModalQuestions::lastStart(), QString());
    ModalQuestions::setNextFileNames(second);
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(ModalQuestions::lastStart(), first.first());
    // Cancelled: nothing changes, and the dialog started at the latest choice.
    ModalQuestions::setNextFileNames({});
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(ModalQuestions::lastStart(), second.first());
    QCOMPARE(ModalQuestions::asked().value(0), QStringLiteral("RDS-Log Dateien hinzufügen"));

    auto* model = qobject_cast<RDSLogFiles*>(kit.find<QListView>("Log")->model());
    QVERIFY(model);
    QCOMPARE(names(*model), first + second);
}

void TestRDSLogFiles::deletingSelectedRows()
{
    RdsPageKit kit(playingSource());
    auto* view = kit.find<QListView>("Log");
    auto* model = qobject_cast<RDSLogFiles*>(view->model());
    ModalQuestions::setNextFileNames({"a", "b", "c", "d", "e"});
    QTest::mouseClick(kit.find<QPushButton>("BaddLog"), Qt::LeftButton);
    for (int row : {1, 3})
        view->selectionModel()->select(model->index(row), QItemSelectionModel::Select);
    QTest::mouseClick(kit.find<QPushButton>("BdelLog"), Qt::LeftButton);
    QCOMPARE(names(*model), QStringList({"a", "c", "e"}));
    QVERIFY(!view->selectionModel()->hasSelection());
}

void TestRDSLogFiles::preview_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("shown");

    QByteArray lines;
    for (int line = 0; lines.size() < 10000; ++line)
        lines += QByteArray::number(line).rightJustified(99, '.') + '\n';
    lines.truncate(10000);
    // 7776 lies inside line 77 (bytes 7700-7799): the preview ends with it.
    QTest::newRow("long file stops after the line of byte 7776")
        << lines << QString::fromLatin1(lines.left(7800)) + QStringLiteral("...");
    const QByteArray shortFile = QByteArray(99, 'x') + '\n';
    QTest::newRow("short file whole") << shortFile << QString::fromLatin1(shortFile);
    QTest::newRow("UTF-8 text") << QByteArray("Grüße\n") << QStringLiteral("Grüße\n");
}

void TestRDSLogFiles::preview()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, shown);

    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("log.txt"), content);
    const QString gone = writeFile(dir, QStringLiteral("gone.txt"), "weg\n");
    RdsPageKit kit(playingSource());
    auto* view = kit.find<QListView>("Log");
    auto* text = kit.find<QPlainTextEdit>("LogView");
    ModalQuestions::setNextFileNames({path, gone});
    QTest::mouseClick(kit.find<QPushButton>("BaddLog"), Qt::LeftButton);

    view->setCurrentIndex(view->model()->index(0, 0));
    QCOMPARE(text->toPlainText(), shown);

    QVERIFY(QFile::remove(gone));
    view->setCurrentIndex(view->model()->index(1, 0));
    QCOMPARE(text->toPlainText(), QString());
    QCOMPARE(view->model()->index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(0xFFC0C0));
}

void TestRDSLogFiles::loadingAnotherSourceReplacesTheList()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("eins.txt"), "eins\n");
    RdsPageKit::Keys keys = RdsPageKit::sources({1, 2});
    keys.append({QStringLiteral("rds.1/files"), QStringList{path}});
    keys.append({QStringLiteral("rds.1/fused"), true});
    RdsPageKit kit(keys);
    auto* view = kit.find<QListView>("Log");
    auto* text = kit.find<QPlainTextEdit>("LogView");
    QCOMPARE(view->model()->rowCount(), 0);
    QVERIFY(!kit.find<QGroupBox>("gLog")->isChecked());

    kit.page->showSource(1, 3);
    QCOMPARE(view->model()->rowCount(), 1);
    QVERIFY(kit.find<QGroupBox>("gLog")->isChecked());
    view->setCurrentIndex(view->model()->index(0, 0));
    QCOMPARE(text->toPlainText(), QStringLiteral("eins\n"));

    kit.page->showSource(2, -1);
    QCOMPARE(view->model()->rowCount(), 0);
    QCOMPARE(text->toPlainText(), QString());
    QVERIFY(!view->currentIndex().isValid());
}

// Each pane of the tab has a title above it that names what it holds.
void TestRDSLogFiles::panesSayWhatTheyHold()
{
    RdsPageKit kit(playingSource());
    kit.page->show();
    QVERIFY(QTest::qWaitForWindowExposed(kit.page.get()));
    kit.find<QTabWidget>("tabs")->setCurrentWidget(kit.find<QWidget>("tabLog"));
    const std::pair<const char*, const char*> panes[] = {
        {"logFilesTitle", "Log"}, {"logViewTitle", "LogView"}};
    for (const auto& [title, pane] : panes) {
        auto* label = kit.find<QLabel>(title);
        QVERIFY2(label, title);
        QVERIFY(label->isVisible());
        QVERIFY(!label->text().isEmpty());
        QCOMPARE(label->buddy(), kit.find<QWidget>(pane));
        QVERIFY(label->geometry().bottom() <= label->buddy()->geometry().top());
    }
}

void TestRDSLogFiles::listAndSwitchAreStored()
{
    RdsPageKit kit(playingSource());
    ModalQuestions::setNextFileNames({"/logs/a.txt", "/logs/b.txt", "/logs/c.txt"});
    QTest::mouseClick(kit.find<QPushButton>("BaddLog"), Qt::LeftButton);
    kit.deliver();
    QCOMPARE(kit.store->rdsSource(1).files,
             QStringList({"/logs/a.txt", "/logs/b.txt", "/logs/c.txt"}));
    QCOMPARE(kit.store->value(QStringLiteral("rds.1/files")).toStringList().size(), 3);

    auto* view = kit.find<QListView>("Log");
    view->selectionModel()->select(view->model()->index(1, 0), QItemSelectionModel::Select);
    QTest::mouseClick(kit.find<QPushButton>("BdelLog"), Qt::LeftButton);
    kit.deliver();
    QCOMPARE(kit.store->rdsSource(1).files, QStringList({"/logs/a.txt", "/logs/c.txt"}));

    kit.find<QGroupBox>("gLog")->setChecked(false);
    kit.deliver();
    QVERIFY(!kit.store->rdsSource(1).fused);
    QVERIFY(kit.written().contains(QStringLiteral("rds.1/fused")));
    QCOMPARE(view->model()->rowCount(), 2);
}

QTEST_MAIN(TestRDSLogFiles)
#include "tst_rdslogfiles.moc"
