// The basic form of the RDS page: what each edit writes, the PI and ECC
// tips, the country row from the search window, and the clock preview.
#include "RdsFormKit.h"
#include "country/CountryTable.h"
#include "country/ECC.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QSpinBox>

namespace {

using Edit = void (*)(RdsFormKit&);

void type(QAbstractSpinBox* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

// The record every row starts from: nothing that a row sets is set yet.
RDSSource plainSource()
{
    RDSSource s;
    s.dec = 0;
    s.eot1 = 0;
    s.err = 0;
    s.fix = 0;
    s.slow = 0xE0;
    return s;
}

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestTabRDSTuning : public QObject
{
    Q_OBJECT
private slots:
    void editWritesKey_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stored");
        QTest::newRow("scroll 3 x, 1 character") << Edit([](RdsFormKit& k) {
            click(k.find<QCheckBox>("psscroll"));
            type(k.find<QSpinBox>("psrepeat"), "3");
            type(k.find<QSpinBox>("psrate"), "1");
        }) << "pss"
                                                 << "40";
        QTest::newRow("16 x, 8 characters, no scroll") << Edit([](RdsFormKit& k) {
            click(k.find<QCheckBox>("psscroll"));
            type(k.find<QSpinBox>("psrepeat"), "16");
            type(k.find<QSpinBox>("psrate"), "8");
            click(k.find<QCheckBox>("psscroll"));
        }) << "pss"
                                                       << "247";
        QTest::newRow("stereo and dynamic PTY") << Edit([](RdsFormKit& k) {
            click(k.find<QCheckBox>("d0"));
            click(k.find<QCheckBox>("d3"));
        }) << "dec"
                                                << "9";
        QTest::newRow("14B burst 1 s")
            << Edit([](RdsFormKit& k) { type(k.find<QDoubleSpinBox>("bursttime1"), "1"); })
            << "eot1"
            << "10";
        QTest::newRow("errors set to 1") << Edit([](RdsFormKit& k) {
            k.find<QGroupBox>("gError")->setChecked(true);
            k.find<QComboBox>("Error")->setCurrentIndex(2);
        }) << "err"
                                         << "130";
        QTest::newRow("fix checkword per group") << Edit([](RdsFormKit& k) {
            k.find<QGroupBox>("gError")->setChecked(true);
            click(k.find<QCheckBox>("fixCRC"));
            click(k.find<QCheckBox>("perGrp"));
        }) << "fix"
                                                 << "129";
        QTest::newRow("PI with leading zero")
            << Edit([](RdsFormKit& k) { type(k.find<QLineEdit>("PI"), "0A12"); }) << "pi"
            << "a12";
        QTest::newRow("linkage actuator")
            << Edit([](RdsFormKit& k) { click(k.find<QCheckBox>("C_LA")); }) << "slow"
            << QString::number(0x80E0);
    }

    void editWritesKey()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, field);
        QFETCH(QString, stored);
        RdsFormKit kit(plainSource());
        edit(kit);
        QTRY_COMPARE_WITH_TIMEOUT(kit.key(field).toString(), stored, RdsFormKit::kWaitMs);
    }

    // The whole record goes back on every edit: whatever the RadioText form
    // holds must come back as it was loaded.
    void radioTextSurvivesOtherEdit()
    {
        RDSSource s;
        s.rta = "Hello $1";
        s.rtb = "B text";
        s.rtc = "eRT #03A9";
        s.rtd = "D";
        s.rpa = 3;
        s.rpb = 2;
        s.enda = 0x0A;
        s.endx = 0x05;
        s.rtxg = 2;
        s.rtxt = 0xC9;
        s.crt = "UTF-8";
        s.enc = "UTF-8";
        s.clps = "GB18030";
        s.ertg = 11;
        s.ertb = 0x0003;
        s.eaid = 0x1234;
        s.rtgrp = 12;
        s.rtbit = 0x2005;
        s.paid = 0xABCD;
        s.rtitm = 0x0D;
        s.rttag = {RTag{1, "Song"}, RTag{4, "Artist"}, RTag{0, QString()}};
        RdsFormKit kit(s);
        click(kit.find<QCheckBox>("TP"));
        QTRY_COMPARE_WITH_TIMEOUT(kit.key("tp").toInt(), 0, RdsFormKit::kWaitMs);
        RdsFormKit::settle();
        const RDSSource after = kit.store->rdsSource(kit.id);
        QCOMPARE(after.rta, s.rta);
        QCOMPARE(after.rtb, s.rtb);
        QCOMPARE(after.rtc, s.rtc);
        QCOMPARE(after.rtd, s.rtd);
        QCOMPARE(after.rpa, s.rpa);
        QCOMPARE(after.rpb, s.rpb);
        QCOMPARE(after.enda, s.enda);
        QCOMPARE(after.endx, s.endx);
        QCOMPARE(after.rtxg, s.rtxg);
        QCOMPARE(after.rtxt, s.rtxt);
        QCOMPARE(after.crt, s.crt);
        QCOMPARE(after.enc, s.enc);
        QCOMPARE(after.ertg, s.ertg);
        QCOMPARE(after.ertb, s.ertb);
        QCOMPARE(after.eaid, s.eaid);
        QCOMPARE(after.rtgrp, s.rtgrp);
        QCOMPARE(after.rtbit, s.rtbit);
        QCOMPARE(after.paid, s.paid);
        QCOMPARE(after.rtitm, s.rtitm);
        QCOMPARE(after.rttag, s.rttag);
        QCOMPARE(kit.store->value(QStringLiteral("rds.%1/rttag/1").arg(kit.id)).toString(),
                 QStringLiteral("4 Artist"));
        QCOMPARE(kit.writtenFields(), QStringList{"tp"});
    }

    void fixedDate_data()
    {
        QTest::addColumn<quint32>("days");
        QTest::addColumn<QString>("shown");
        QTest::newRow("today") << quint32(0) << "heute";
        QTest::newRow("a day")
            << quint32(42003)
            << QDate(2015, 3, 1).toString(QLocale().dateFormat(QLocale::ShortFormat));
    }

    // "heute" is day 0 and must stay 0, not freeze into the day it was saved.
    void fixedDate()
    {
        QFETCH(quint32, days);
        QFETCH(QString, shown);
        RDSSource s;
        s.date = 1;
        s.days = days;
        RdsFormKit kit(s);
        QCOMPARE(kit.find<QDateEdit>("date")->text(), shown);
        click(kit.find<QCheckBox>("TP"));
        QTRY_COMPARE_WITH_TIMEOUT(kit.key("tp").toInt(), 0, RdsFormKit::kWaitMs);
        RdsFormKit::settle();
        QCOMPARE(kit.key("days").toUInt(), days);
        QVERIFY(!kit.writtenFields().contains("days"));
    }

    void piTip_data()
    {
        QTest::addColumn<QString>("pi");
        QTest::addColumn<QString>("tip");
        QTest::newRow("low power") << "D300"
                                   << "D: Country Identifier CI\n00: kurze Reichweite (low-power)";
        QTest::newRow("supra-regional") << "D3C1"
                                        << "D: Country Identifier CI\n3: Überregional";
        QTest::newRow("regional 2") << "D5C1"
                                    << "D: Country Identifier CI\n5: Regional 2";
        QTest::newRow("regional 12") << "DFC1"
                                     << "D: Country Identifier CI\nF: Regional 12";
        QTest::newRow("one digit") << "D"
                                   << "D: Country Identifier CI\n: Local";
    }

    void piTip()
    {
        QFETCH(QString, pi);
        QFETCH(QString, tip);
        RdsFormKit kit;
        QLineEdit* edit = kit.find<QLineEdit>("PI");
        type(edit, pi);
        // An incomplete PI never finishes editing; the tip must still cope.
        if (pi.size() < 4)
            kit.page->findCountry();
        QCOMPARE(edit->toolTip(), tip);
    }

    void eccTip_data()
    {
        QTest::addColumn<QString>("ecc");
        QTest::addColumn<QString>("tip");
        QTest::newRow("Germany") << "E0"
                                 << "Anwendungscode 0\nLänder mit D E0\n" +
                                        countryByCode('D', 0xE0);
        QTest::newRow("variant 1") << "10E0"
                                   << "Anwendungscode 1";
    }

    void eccTip()
    {
        QFETCH(QString, ecc);
        QFETCH(QString, tip);
        QVERIFY(!countryByCode('D', 0xE0).isEmpty());
        RDSSource s;
        s.pi = 0xD3C1;
        s.slow = 0x0001;
        RdsFormKit kit(s);
        QAbstractSpinBox* box = kit.find<QAbstractSpinBox>("C_ECC");
        type(box, ecc);
        QCOMPARE(box->toolTip(), tip);
    }

    void countryRow_data()
    {
        QTest::addColumn<quint16>("pi");
        QTest::addColumn<QByteArray>("ci");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("digit replaced")
            << quint16(0xCAFE) << QByteArray("D1") << "DAFE" << QStringList{"pi", "slow"};
        QTest::newRow("digit kept")
            << quint16(0x1234) << QByteArray("123456789ABDE") << "1234" << QStringList{"slow"};
    }

    void countryRow()
    {
        QFETCH(quint16, pi);
        QFETCH(QByteArray, ci);
        QFETCH(QString, shown);
        QFETCH(QStringList, written);
        RDSSource s;
        s.pi = pi;
        s.slow = 0x0012;
        // Codec names as the boxes show them, so a save writes none of them.
        s.crt = "E.1 (Standard)";
        s.enc = "UTF-8";
        s.clps = "UTF-8";
        RdsFormKit kit(s);
        ECC row;
        row.ci = ci;
        row.code = 0x01E0; // the area bits must not reach the field
        kit.page->saveECC(row);
        QCOMPARE(kit.find<QLineEdit>("PI")->text(), shown);
        QTRY_COMPARE_WITH_TIMEOUT(kit.key("slow").toInt(), 0xE0, RdsFormKit::kWaitMs);
        RdsFormKit::settle();
        QCOMPARE(kit.writtenFields(), written);
        QCOMPARE(kit.key("pi").toString(), shown.toLower());
        QVERIFY(kit.find<QAbstractSpinBox>("C_ECC")->toolTip().startsWith("Anwendungscode 0\n"));
    }

    void clockPreview_data()
    {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<bool>("setDate");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("west, today") << "-3" << false << QDate() << " -3h/2";
        QTest::newRow("UTC, today") << "0" << false << QDate() << " +0h/2";
        QTest::newRow("heute is today") << "2" << true << QDate(1900, 3, 1) << " +2h/2";
        QTest::newRow("fixed date") << "2" << true << QDate(2017, 1, 31) << " +2h/2";
    }

    void clockPreview()
    {
        QFETCH(QString, zone);
        QFETCH(bool, setDate);
        QFETCH(QDate, date);
        QFETCH(QString, suffix);
        RdsFormKit kit;
        type(kit.find<QDoubleSpinBox>("zone"), zone);
        if (setDate) {
            click(kit.find<QCheckBox>("setdate"));
            kit.find<QDateEdit>("date")->setDate(date);
        }
        const QDate before = QDateTime::currentDateTimeUtc().date();
        kit.page->timeout();
        const QDate after = QDateTime::currentDateTimeUtc().date();
        const QString text = kit.find<QLabel>("utc")->text();
        static const QRegularExpression form(R"(^(\d{4}-\d\d-\d\d) \d\d:\d\d \(\d\d\)( .*)$)");
        const auto match = form.match(text);
        QVERIFY2(match.hasMatch(), qPrintable(text));
        QCOMPARE(match.captured(2), suffix);
        const QDate shown = QDate::fromString(match.captured(1), Qt::ISODate);
        if (setDate && date.year() > 1900)
            QCOMPARE(shown, date);
        else
            QVERIFY(shown == before || shown == after);
    }
};

QTEST_MAIN(TestTabRDSTuning)
#include "tst_tabrdstuning.moc"
