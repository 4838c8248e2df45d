#include "rds/HexSpinBox.h"
#include "rds/TabRDS.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTranslator>

class TestRdsWidgets : public QObject
{
    Q_OBJECT

private slots:
    void programmeTypes();
    void programmeTypesInEnglish_data();
    void programmeTypesInEnglish();
    void hexShown_data();
    void hexShown();
    void hexTyped_data();
    void hexTyped();
};

void TestRdsWidgets::programmeTypes()
{
    const QStringList types = TabRDS::fillPTYList();
    QCOMPARE(types.size(), 32);
    for (int code = 0; code < types.size(); ++code)
        QVERIFY2(types.at(code).startsWith(QString::number(code) + QLatin1Char(' ')),
                 qPrintable(types.at(code)));
    QCOMPARE(types.first(), QStringLiteral("0 No Program TYpe"));
    QCOMPARE(types.at(6), QStringLiteral("6 Hörspiel und Literatur"));

    TabRDS page;
    auto* combo = page.findChild<QComboBox*>(QStringLiteral("PTY"));
    QCOMPARE(combo->count(), 32);
    combo->setCurrentIndex(31);
    QCOMPARE(combo->currentText(), QStringLiteral("31 Alarm"));
}

void TestRdsWidgets::programmeTypesInEnglish_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("translated");

    for (int code : {0, 3, 4, 10, 11, 20, 24, 25, 26, 27, 28, 29, 30, 31})
        QTest::addRow("code %d stays", code) << code << false;
    for (int code : {1, 2, 5, 6, 9, 16, 23})
        QTest::addRow("code %d is translated", code) << code << true;
}

void TestRdsWidgets::programmeTypesInEnglish()
{
    QFETCH(int, code);
    QFETCH(bool, translated);

    const QString german = TabRDS::fillPTYList().at(code);
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/lang/quorvin_en.qm")));
    QCoreApplication::installTranslator(&english);
    const QString shown = TabRDS::fillPTYList().at(code);
    QCoreApplication::removeTranslator(&english);
    QCOMPARE(shown != german, translated);
    QVERIFY(shown.startsWith(QString::number(code) + QLatin1Char(' ')));
}

void TestRdsWidgets::hexShown_data()
{
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("shown");

    QTest::newRow("AB in upper case") << 255 << 0xAB << "AB";
    QTest::newRow("F without leading zero") << 255 << 0x0F << "F";
    QTest::newRow("zero") << 255 << 0 << "0";
    QTest::newRow("ECC") << 0x7FFF << 0xE0 << "E0";
    QTest::newRow("four digits") << 0xFFFF << 0xFFFF << "FFFF";
}

void TestRdsWidgets::hexShown()
{
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(QString, shown);

    HexSpinBox box;
    box.setRange(0, maximum);
    box.setValue(value);
    QCOMPARE(box.text(), shown);
}

void TestRdsWidgets::hexTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");

    QTest::newRow("lower case") << "ab" << 171;
    QTest::newRow("upper case") << "AB" << 171;
    QTest::newRow("mixed") << "fF" << 255;
    QTest::newRow("not hexadecimal keeps the value") << "xyz" << 0x12;
}

void TestRdsWidgets::hexTyped()
{
    QFETCH(QString, typed);
    QFETCH(int, value);

    HexSpinBox box;
    box.setRange(0, 255);
    box.setValue(0x12);
    auto* edit = box.findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(&box, typed);
    QTest::keyClick(&box, Qt::Key_Return);
    QCOMPARE(box.value(), value);
}

QTEST_MAIN(TestRdsWidgets)
#include "tst_rdswidgets.moc"
