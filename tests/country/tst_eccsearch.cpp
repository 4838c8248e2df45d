#include "country/CountryTable.h"
#include "country/ECCSearch.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <memory>

// The search window as the user sees it: typing into "text", clicks on the
// area buttons and double-clicks into "list".
class TestECCSearch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void wholeTableAtFirst();
    void typedText_data();
    void typedText();
    void searchButtonAndEnterUncheckTheAreas();
    void areaClicks_data();
    void areaClicks();
    void areaButtonExclusions_data();
    void areaButtonExclusions();
    void areaClickKeepsTheText();
    void doubleClickEmitsTheRow_data();
    void doubleClickEmitsTheRow();
    void selectionDoesNotOutliveItsRow();
    void cellsOfARow();
    void alwaysAWindowOfItsOwn();

private:
    QTableView* list() const { return window->findChild<QTableView*>(QStringLiteral("list")); }
    QLineEdit* text() const { return window->findChild<QLineEdit*>(QStringLiteral("text")); }
    QToolButton* button(const QString& name) const { return window->findChild<QToolButton*>(name); }
    void type(const QString& typed) const;
    void click(const QString& buttonName) const;
    QString shownIsoCodes() const;
    QStringList checkedButtons() const;

    std::unique_ptr<ECCSearch> window;
};

static const QStringList kAreaButtons = {"Beu", "Bar", "Baf", "Bas", "Bau", "Bam", "Bis"};

void TestECCSearch::init()
{
    window = std::make_unique<ECCSearch>();
    window->show();
}

void TestECCSearch::cleanup()
{
    window.reset();
}

void TestECCSearch::type(const QString& typed) const
{
    text()->clear();
    for (const QChar c : typed) {
        // keyClicks knows Latin-1 keys only; a German keyboard's umlaut
        // arrives as a key event carrying its text.
        if (c.unicode() < 0x80)
            QTest::keyClick(text(), c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, text(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QTest::keyClick(text(), Qt::Key_Return);
}

void TestECCSearch::click(const QString& buttonName) const
{
    QToolButton* found = button(buttonName);
    QVERIFY2(found, qPrintable(buttonName));
    QTest::mouseClick(found, Qt::LeftButton);
}

QString TestECCSearch::shownIsoCodes() const
{
    QStringList codes;
    const QAbstractItemModel* model = list()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        codes.append(model->index(row, 0).data().toString());
    return codes.join(QLatin1Char(' '));
}

QStringList TestECCSearch::checkedButtons() const
{
    QStringList checked;
    for (const QString& name : kAreaButtons) {
        if (button(name)->isChecked())
            checked.append(name);
    }
    return checked;
}

void TestECCSearch::wholeTableAtFirst()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Ländercode suchen (231)"));
    QCOMPARE(list()->model()->rowCount(), 231);
    QCOMPARE(list()->verticalHeader()->count(), 231);
    QCOMPARE(checkedButtons(), QStringList());
}

void TestECCSearch::typedText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("isoCodes");

    QTest::newRow("ECC a0, no name holds it") << "a0"
                                              << "PR US VI";
    QTest::newRow("ISO DK, then Nordkorea and Südkorea by name") << "DK"
                                                                 << "DK DK KP KR";
    QTest::newRow("ISO de, then every name holding de") << "de"
                                                        << "DE AN BD CD CV DK DK GP NL PT RU SE";
    QTest::newRow("ISO cn lists every China row") << "cn"
                                                  << "CN CN CN";
    QTest::newRow("name China lists the first China row") << "China"
                                                          << "CN";
    QTest::newRow("ECC e0") << "e0"
                            << "AD AL AT BE DE DZ EG HU IL IT MT PS RU";
    QTest::newRow("land in either language, any case")
        << "land"
        << "AN AU BY CH DE EE FI FK GL GR IE IS KY LV MH NL NZ PL SB SH SZ TC TH VG VI";
    QTest::newRow("Kongo in German names only") << "Kongo"
                                                << "CD CG";
    QTest::newRow("two UTF-8 bytes that are no code") << "ä"
                                                      << "AN DK DK EG ET GQ PS RO";
    QTest::newRow("nothing") << "xyzzy"
                             << "";
}

void TestECCSearch::typedText()
{
    QFETCH(QString, typed);
    QFETCH(QString, isoCodes);

    type(typed);
    QCOMPARE(shownIsoCodes(), isoCodes);
    const int count = isoCodes.isEmpty() ? 0 : int(isoCodes.count(QLatin1Char(' '))) + 1;
    QCOMPARE(window->windowTitle(), QStringLiteral("Ländercode suchen (%1)").arg(count));
    QCOMPARE(list()->verticalHeader()->count(), count);

    type(QString());
    QCOMPARE(window->windowTitle(), QStringLiteral("Ländercode suchen (231)"));
    QCOMPARE(list()->verticalHeader()->count(), 231);
}

void TestECCSearch::searchButtonAndEnterUncheckTheAreas()
{
    click(QStringLiteral("Bis"));
    click(QStringLiteral("Beu"));
    QCOMPARE(checkedButtons(), QStringList({"Beu", "Bis"}));

    QTest::keyClicks(text(), QStringLiteral("cn"));
    click(QStringLiteral("search"));
    QCOMPARE(checkedButtons(), QStringList());
    QCOMPARE(shownIsoCodes(), QStringLiteral("CN CN CN"));

    click(QStringLiteral("Bas"));
    QCOMPARE(list()->model()->rowCount(), 35);
    QTest::keyClick(text(), Qt::Key_Return);
    QCOMPARE(checkedButtons(), QStringList());
    QCOMPARE(shownIsoCodes(), QStringLiteral("CN CN CN"));
}

void TestECCSearch::areaClicks_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("checked");

    QTest::newRow("Europa") << QStringList{"Beu"} << 57 << QStringList{"Beu"};
    QTest::newRow("Afrika") << QStringList{"Baf"} << 59 << QStringList{"Baf"};
    QTest::newRow("Amerika") << QStringList{"Bam"} << 54 << QStringList{"Bam"};
    QTest::newRow("Vorderasien") << QStringList{"Bar"} << 20 << QStringList{"Bar"};
    QTest::newRow("Asien") << QStringList{"Bas"} << 35 << QStringList{"Bas"};
    QTest::newRow("Australien") << QStringList{"Bau"} << 11 << QStringList{"Bau"};
    QTest::newRow("Inseln") << QStringList{"Bis"} << 68 << QStringList{"Bis"};
    QTest::newRow("Inseln, then Australien")
        << QStringList{"Bis", "Bau"} << 3 << QStringList{"Bau", "Bis"};
    QTest::newRow("Europa with Inseln: the European islands")
        << QStringList{"Beu", "Bis"} << 10 << QStringList{"Beu", "Bis"};
    QTest::newRow("Afrika, then Australien: nothing in common")
        << QStringList{"Baf", "Bau"} << 0 << QStringList{"Baf", "Bau"};
    QTest::newRow("Europa, Afrika, Amerika: nothing in common")
        << QStringList{"Beu", "Baf", "Bam"} << 0 << QStringList{"Beu", "Baf", "Bam"};
    QTest::newRow("Europa and Asien")
        << QStringList{"Beu", "Bas"} << 2 << QStringList{"Beu", "Bas"};
    QTest::newRow("Europa, then Australien unchecks it")
        << QStringList{"Beu", "Bau"} << 11 << QStringList{"Bau"};
    QTest::newRow("Inseln off again") << QStringList{"Bis", "Bis"} << 231 << QStringList{};
    QTest::newRow("Asien off again") << QStringList{"Bas", "Bas"} << 231 << QStringList{};
}

void TestECCSearch::areaClicks()
{
    QFETCH(QStringList, clicks);
    QFETCH(int, rows);
    QFETCH(QStringList, checked);

    for (const QString& name : clicks)
        click(name);
    QCOMPARE(list()->model()->rowCount(), rows);
    QCOMPARE(window->windowTitle(), QStringLiteral("Ländercode suchen (%1)").arg(rows));
    QCOMPARE(checkedButtons(), checked);
}

void TestECCSearch::areaButtonExclusions_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QStringList>("unchecked");

    QTest::newRow("Europa") << "Beu" << QStringList{"Bau"};
    QTest::newRow("Afrika") << "Baf" << QStringList{"Bas", "Bau"};
    QTest::newRow("Amerika") << "Bam" << QStringList{"Bar", "Bas", "Bau"};
    QTest::newRow("Vorderasien") << "Bar" << QStringList{"Bas", "Bau", "Bam"};
    QTest::newRow("Asien") << "Bas" << QStringList{"Bar", "Baf", "Bau", "Bam"};
    QTest::newRow("Australien") << "Bau" << QStringList{"Beu", "Bar", "Bas", "Bam"};
    QTest::newRow("Inseln") << "Bis" << QStringList{};
}

// Every other button checked beforehand; the click leaves checked what the
// clicked area shares rows with.
void TestECCSearch::areaButtonExclusions()
{
    QFETCH(QString, clicked);
    QFETCH(QStringList, unchecked);

    for (const QString& name : kAreaButtons)
        button(name)->setChecked(name != clicked);
    click(clicked);

    QStringList expected;
    for (const QString& name : kAreaButtons) {
        if (!unchecked.contains(name))
            expected.append(name);
    }
    QCOMPARE(checkedButtons(), expected);
}

void TestECCSearch::areaClickKeepsTheText()
{
    QTest::keyClicks(text(), QStringLiteral("cn"));
    QTest::keyClick(text(), Qt::Key_Return);
    click(QStringLiteral("Bis"));
    QCOMPARE(text()->text(), QStringLiteral("cn"));
    QCOMPARE(list()->model()->rowCount(), 68);
}

void TestECCSearch::doubleClickEmitsTheRow_data()
{
    QTest::addColumn<int>("column");
    for (int column = 0; column < 5; ++column)
        QTest::addRow("column %d", column) << column;
}

void TestECCSearch::doubleClickEmitsTheRow()
{
    QFETCH(int, column);

    QSignalSpy saved(window.get(), &ECCSearch::saveECC);
    type(QStringLiteral("DK"));
    const QModelIndex faroe = list()->model()->index(1, column);
    const QPoint centre = list()->visualRect(faroe).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, centre);

    QCOMPARE(saved.size(), 1);
    const ECC row = saved.at(0).at(0).value<ECC>();
    QCOMPARE(row.iso, QByteArray("DK"));
    QCOMPARE(row.code, quint16(0x41E1));
    QCOMPARE(row.ci, QByteArray("9"));
    QCOMPARE(row.nameEn, QStringLiteral("Faroe (Denmark)"));
    QCOMPARE(row.nameDe, QStringLiteral("Färöer"));
}

// A row selected at the end of the whole table is gone once a search lists
// one row: nothing selected may point past the result.
void TestECCSearch::selectionDoesNotOutliveItsRow()
{
    const QModelIndex last = list()->model()->index(230, 3);
    list()->scrollTo(last);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualRect(last).center());
    QCOMPARE(list()->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(list()->currentIndex().row(), 230);

    type(QStringLiteral("China"));
    const int rows = list()->model()->rowCount();
    QCOMPARE(rows, 1);
    for (const QModelIndex& index : list()->selectionModel()->selectedIndexes())
        QVERIFY(index.row() < rows);
    QVERIFY(list()->currentIndex().row() < rows);
}

void TestECCSearch::cellsOfARow()
{
    type(QStringLiteral("Germany"));
    const QAbstractItemModel* model = list()->model();
    QStringList cells;
    for (int column = 0; column < model->columnCount(); ++column) {
        cells.append(model->index(0, column).data().toString());
        QCOMPARE(model->index(0, column).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignHCenter | Qt::AlignVCenter));
    }
    QCOMPARE(cells, QStringList({"DE", "E0", "D1", "Germany", "Deutschland"}));
    QCOMPARE(model->index(0, 0).flags(), Qt::ItemIsSelectable | Qt::ItemIsEnabled);

    QStringList headers;
    for (int column = 0; column < model->columnCount(); ++column)
        headers.append(model->headerData(column, Qt::Horizontal).toString());
    QCOMPARE(headers, QStringList({"ISO", "ECC", "CI code", "Country", "Land"}));
    QCOMPARE(model->headerData(0, Qt::Vertical).toInt(), 0);
    QCOMPARE(model->headerData(5, Qt::Horizontal), QVariant());
}

void TestECCSearch::alwaysAWindowOfItsOwn()
{
    auto creator = std::make_unique<QWidget>();
    auto* search = new ECCSearch(creator.get());
    QPointer<ECCSearch> guard(search);
    QVERIFY(search->parentWidget() == nullptr);
    QVERIFY(search->isWindow());

    search->showECC();
    QVERIFY(search->isVisible());
    creator.reset();
    QVERIFY(!guard.isNull());
    delete search;
}

QTEST_MAIN(TestECCSearch)
#include "tst_eccsearch.moc"
