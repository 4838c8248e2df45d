#include "country/CountryTable.h"
#include "gui/UiGerman.h"

#include <QSet>
#include <QTest>

class TestCountryTable : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { uiGerman = true; }

    void namesOfPiDigitAndEcc_data();
    void namesOfPiDigitAndEcc();
    void tableShape();
    void areaBits_data();
    void areaBits();
    void combinedAreas_data();
    void combinedAreas();
    void rowsFollowIsoOrderWithTheKnownExceptions();
    void rowsWithSeveralPiDigits();
    void eccValuesInUse();
    void buildingAgainKeepsOneTable();
    void rowTravelsInAVariant();
};

void TestCountryTable::namesOfPiDigitAndEcc_data()
{
    QTest::addColumn<char>("digit");
    QTest::addColumn<int>("ecc");
    QTest::addColumn<bool>("german");
    QTest::addColumn<QString>("names");

    QTest::newRow("1/A0 english: three rows in table order")
        << '1' << 0xA0 << false << "Puerto Rico\nUnited States of America\nVirgin Islands (USA)";
    QTest::newRow("1/A0 german") << '1' << 0xA0 << true
                                 << "Puerto Rico\nUSA\nAmerikanische Jungferninseln";
    QTest::newRow("E/A0 shares the US digits") << 'E' << 0xA0 << false
                                               << "Puerto Rico\nUnited States of America\n"
                                                  "Virgin Islands (USA)";
    QTest::newRow("C/A0 is no US digit") << 'C' << 0xA0 << false << "";
    QTest::newRow("D/E0 german") << 'D' << 0xE0 << true << "Deutschland";
    QTest::newRow("D/E0 english") << 'D' << 0xE0 << false << "Germany";
    QTest::newRow("1/E0 german: second digit of Germany") << '1' << 0xE0 << true << "Deutschland";
    QTest::newRow("1/E0 english") << '1' << 0xE0 << false << "Germany";
    QTest::newRow("9/E1 german: two lines") << '9' << 0xE1 << true << "Dänemark\nFäröer";
    QTest::newRow("9/E1 english") << '9' << 0xE1 << false << "Denmark\nFaroe (Denmark)";
    QTest::newRow("C/F0 China alone") << 'C' << 0xF0 << false << "China";
    QTest::newRow("8/F3 China") << '8' << 0xF3 << true << "China";
    QTest::newRow("F/A5 english") << 'F' << 0xA5 << false << "Mexico\nBritische Jungferninseln";
    QTest::newRow("F/A5 german") << 'F' << 0xA5 << true << "Mexiko\nBritische Jungferninseln";
    QTest::newRow("3/E0 german without German name") << '3' << 0xE0 << true << "Andorra";
    QTest::newRow("lower-case digit d") << 'd' << 0xE0 << true << "";
    QTest::newRow("ECC 0") << 'D' << 0x00 << true << "";
    QTest::newRow("NUL digit") << '\0' << 0xE0 << true << "";
}

void TestCountryTable::namesOfPiDigitAndEcc()
{
    QFETCH(char, digit);
    QFETCH(int, ecc);
    QFETCH(bool, german);
    QFETCH(QString, names);

    uiGerman = german;
    QCOMPARE(countryByCode(digit, quint8(ecc)), names);
}

void TestCountryTable::tableShape()
{
    QCOMPARE(countryTable.size(), 231);
    QSet<QByteArray> isoCodes;
    for (const ECC& row : std::as_const(countryTable)) {
        isoCodes.insert(row.iso);
        QVERIFY2(row.iso.size() == 2 && row.iso == row.iso.toUpper(), row.iso.constData());
        QVERIFY2(!row.ci.isEmpty() && row.ci == row.ci.toUpper(), row.iso.constData());
        QVERIFY2(!row.nameEn.isEmpty(), row.iso.constData());
        QVERIFY2((row.area() & 0x80) == 0 && row.area() != 0, row.iso.constData());
    }
    QCOMPARE(isoCodes.size(), 215);

    const auto germany = std::find_if(countryTable.cbegin(), countryTable.cend(),
                                      [](const ECC& row) { return row.iso == "DE"; });
    QVERIFY(germany != countryTable.cend());
    const ECC expected{"DE", 0x01E0, "D1", QStringLiteral("Germany"),
                       QStringLiteral("Deutschland")};
    QVERIFY(*germany == expected);

    const auto americanIslands = std::count_if(countryTable.cbegin(), countryTable.cend(),
                                               [](const ECC& row) { return row.area() == 0x44; });
    QCOMPARE(americanIslands, 28);
}

void TestCountryTable::areaBits_data()
{
    QTest::addColumn<int>("bit");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("alone");

    QTest::newRow("Europe") << 0x01 << 57 << 42;
    QTest::newRow("Africa") << 0x02 << 59 << 49;
    QTest::newRow("America") << 0x04 << 54 << 23;
    QTest::newRow("Near East") << 0x08 << 20 << 14;
    QTest::newRow("Asia") << 0x10 << 35 << 21;
    QTest::newRow("Australia") << 0x20 << 11 << 8;
    QTest::newRow("islands") << 0x40 << 68 << 7;
}

void TestCountryTable::areaBits()
{
    QFETCH(int, bit);
    QFETCH(int, rows);
    QFETCH(int, alone);

    const auto carrying = std::count_if(countryTable.cbegin(), countryTable.cend(),
                                        [bit](const ECC& row) { return row.area() & bit; });
    const auto only = std::count_if(countryTable.cbegin(), countryTable.cend(),
                                    [bit](const ECC& row) { return row.area() == bit; });
    QCOMPARE(carrying, rows);
    QCOMPARE(only, alone);
}

void TestCountryTable::combinedAreas_data()
{
    QTest::addColumn<int>("area");
    QTest::addColumn<QByteArrayList>("isoCodes");

    QTest::newRow("0x41 European islands") << 0x41 << QByteArrayList{"DK", "GB", "IE", "IS", "MT"};
    QTest::newRow("0x42 African islands")
        << 0x42 << QByteArrayList{"CV", "KM", "MG", "MU", "SC", "ST"};
    QTest::newRow("0x43 Canaries and Madeira") << 0x43 << QByteArrayList{"ES", "PT"};
    QTest::newRow("0x45 Greenland and Azores") << 0x45 << QByteArrayList{"GL", "PT"};
    QTest::newRow("0x46 Ascension") << 0x46 << QByteArrayList{"SH"};
    QTest::newRow("0x48 Bahrein") << 0x48 << QByteArrayList{"BH"};
    QTest::newRow("0x49 Cyprus") << 0x49 << QByteArrayList{"CY"};
    QTest::newRow("0x50 Asian islands")
        << 0x50
        << QByteArrayList{"BN", "HK", "ID", "JP", "LK", "MO", "MV", "MY", "PH", "SB", "SG", "TW"};
    QTest::newRow("0x60 Australian islands") << 0x60 << QByteArrayList{"FJ", "NZ", "PG"};
    QTest::newRow("0x09 Europe and Near East") << 0x09 << QByteArrayList{"AZ", "GE", "TR"};
    QTest::newRow("0x0A Egypt") << 0x0A << QByteArrayList{"EG"};
    QTest::newRow("0x11 Europe and Asia") << 0x11 << QByteArrayList{"KZ", "RU"};
}

void TestCountryTable::combinedAreas()
{
    QFETCH(int, area);
    QFETCH(QByteArrayList, isoCodes);

    QByteArrayList found;
    for (const ECC& row : std::as_const(countryTable)) {
        if (row.area() == area)
            found.append(row.iso);
    }
    QCOMPARE(found, isoCodes);
}

void TestCountryTable::rowsFollowIsoOrderWithTheKnownExceptions()
{
    // Pairs listed out of ISO order, each as it appears in the table.
    const QList<QByteArrayList> exceptions = {{"CF", "CD"}, {"MU", "MS"}, {"SV", "SN"}};
    for (qsizetype n = 1; n < countryTable.size(); ++n) {
        const ECC& before = countryTable.at(n - 1);
        const ECC& after = countryTable.at(n);
        if (before.iso <= after.iso)
            continue;
        const QByteArrayList pair{before.iso, after.iso};
        QVERIFY2(exceptions.contains(pair), (before.iso + " before " + after.iso).constData());
    }
    const auto at = [](const char* name) {
        return std::find_if(countryTable.cbegin(), countryTable.cend(),
                            [name](const ECC& row) { return row.nameEn == QLatin1String(name); });
    };
    QVERIFY(at("Canaries (Spain)") + 1 == at("Spain"));
    QVERIFY(at("San Marino") + 1 == at("El Salvador"));
    QVERIFY(at("Azores (Portugal)") + 1 == at("Madeira (Portugal)"));
    QVERIFY(at("Madeira (Portugal)") + 1 == at("Portugal"));
}

void TestCountryTable::rowsWithSeveralPiDigits()
{
    QStringList rows;
    for (const ECC& row : std::as_const(countryTable)) {
        if (row.ci.size() > 1)
            rows.append(QString::fromLatin1(row.iso + ' ' + row.ci));
    }
    QCOMPARE(rows, QStringList({"BR 3BCD", "CA BCDE", "DE D1", "MX BDEF", "PR 123456789ABDE",
                                "US 123456789ABDE", "VI 123456789ABDE"}));
}

void TestCountryTable::eccValuesInUse()
{
    QSet<int> used;
    for (const ECC& row : std::as_const(countryTable))
        used.insert(row.ecc());
    QSet<int> expected;
    for (const auto& [first, last] :
         {std::pair{0xA0, 0xA6}, {0xD0, 0xD4}, {0xE0, 0xE5}, {0xF0, 0xF4}}) {
        for (int ecc = first; ecc <= last; ++ecc)
            expected.insert(ecc);
    }
    QCOMPARE(used, expected);
}

void TestCountryTable::buildingAgainKeepsOneTable()
{
    const QList<ECC> before = countryTable;
    buildCountryTable();
    QVERIFY(countryTable == before);
}

void TestCountryTable::rowTravelsInAVariant()
{
    const ECC row = countryTable.at(1);
    const QVariant carried = QVariant::fromValue(row);
    QVERIFY(carried.canConvert<ECC>());
    QVERIFY(carried.value<ECC>() == row);
    const ECC empty{QByteArray(), 0, QByteArray(), QString(), QString()};
    QVERIFY(ECC() == empty);
}

QTEST_GUILESS_MAIN(TestCountryTable)
#include "tst_countrytable.moc"
