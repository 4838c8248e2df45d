// What the byte views of the RDS page count and show, and how the monitor
// turns received text bytes back into HTML.
#include "RdsFormKit.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QToolButton>
#include <QToolTip>

namespace {

QColor blend(const QColor& a, const QColor& b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2,
                  (a.alpha() + b.alpha()) / 2);
}

QString thin(QString hex)
{
    return hex.replace(QLatin1Char(' '), QChar(0x2009));
}

} // namespace

class TestTabRDSText : public QObject
{
    Q_OBJECT
private slots:
    void byteView_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("colour");
        QTest::addColumn<QString>("view"); // hex view or RadioText view; empty: not checked

        const QString a31(31, QLatin1Char('a'));
        QTest::newRow("PS of 8") << QStringList() << "PS"
                                 << "ABCDEFGH"
                                 << "CPS" << 8 << "normal"
                                 << "";
        QTest::newRow("PS of 9") << QStringList() << "PS"
                                 << "ABCDEFGHI"
                                 << "CPS" << 9 << "red"
                                 << "";
        QTest::newRow("PS of 9 scrolling") << QStringList{"psscroll"} << "PS"
                                           << "ABCDEFGHI"
                                           << "CPS" << 9 << "yellow"
                                           << "";
        QTest::newRow("PS escape") << QStringList() << "PS"
                                   << "#21"
                                   << "CPS" << 1 << "normal"
                                   << "21 20 20 20 20 20 20 20";
        QTest::newRow("PS # before a blank") << QStringList() << "PS"
                                             << "#4 now"
                                             << "CPS" << 6 << "normal"
                                             << "23 34 20 6e 6f 77 20 20";
        QTest::newRow("PS ü and $ as on air") << QStringList() << "PS"
                                              << "ü$"
                                              << "CPS" << 2 << "normal"
                                              << "99 ab 20 20 20 20 20 20";
        QTest::newRow("long PS 31 + end")
            << QStringList{"forceL"} << "LPS" << a31 << "CLPS" << 32 << "normal"
            << "";
        QTest::newRow("long PS 32, no end") << QStringList{"forceL"} << "LPS" << a31 + "b"
                                            << "CLPS" << 32 << "normal"
                                            << "";
        QTest::newRow("long PS 33") << QStringList{"forceL"} << "LPS" << a31 + "bc"
                                    << "CLPS" << 33 << "red"
                                    << "";
        QTest::newRow("long PS with mark") << QStringList{"LPSBOM"} << "LPS"
                                           << "abc"
                                           << "CLPS" << 6 << "normal"
                                           << "ef bb bf 61 62 63 00 00";
        QTest::newRow("RadioText AA padded") << QStringList{"hexrt"} << "RTA"
                                             << "AA"
                                             << "CtextA" << 2 << "normal"
                                             << "41 41 0d 0d";
        QTest::newRow("RadioText 33 in 2B")
            << QStringList{"2B"} << "RTA" << QString(33, 'x') << "CtextA" << 33 << "red"
            << "";
        QTest::newRow("RadioText 33 in 2A")
            << QStringList() << "RTA" << QString(33, 'x') << "CtextA" << 33 << "normal"
            << "";
        QTest::newRow("eRT 129") << QStringList() << "RTC" << QString(129, 'x') << "CtextC" << 129
                                 << "red"
                                 << "";
        QTest::newRow("eRT 128") << QStringList() << "RTC" << QString(128, 'x') << "CtextC" << 128
                                 << "normal"
                                 << "";
        QTest::newRow("tag marker") << QStringList{"tag"} << "RTA"
                                    << "$1!"
                                    << "CtextA" << 5 << "normal"
                                    << "Song!";
    }

    void byteView()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, counter);
        QFETCH(int, count);
        QFETCH(QString, colour);
        QFETCH(QString, view);
        RDSSource s;
        s.endx = 0; // no end character unless a row asks for one
        s.endl = 0x0D;
        s.rtxg = setup.contains("2B") ? 1 : 0;
        s.pss = setup.contains("psscroll") ? 0x39 : 0x31;
        s.boml = setup.contains("LPSBOM") ? 1 : 0;
        if (setup.contains("forceL"))
            s.endx = 0x10;
        if (setup.contains("tag"))
            s.rttag = {RTag{1, "Nothing"}, RTag{4, "Song"}};
        RdsFormKit kit(s);
        const QColor normal = kit.page->palette().color(QPalette::Base);
        if (setup.contains("hexrt"))
            kit.find<QToolButton>("hexrt")->click();
        type(kit.find<QLineEdit>(qPrintable(field)), text);
        QSpinBox* box = kit.find<QSpinBox>(qPrintable(counter));
        QCOMPARE(box->value(), count);
        const QColor expected = colour == "normal" ? normal
                                : colour == "red"  ? blend(normal, Qt::red)
                                                   : blend(normal, Qt::yellow);
        QCOMPARE(box->palette().color(QPalette::Active, QPalette::Base), expected);
        if (view.isEmpty())
            return;
        if (field == "PS" || field == "LPS")
            QCOMPARE(kit.find<QLineEdit>(qPrintable(field))->toolTip(), thin(view));
        else if (setup.contains("hexrt"))
            QCOMPARE(kit.find<QPlainTextEdit>("plainA")->toPlainText(), thin(view));
        else
            QCOMPARE(kit.find<QPlainTextEdit>("plainA")->toPlainText(), view);
    }

    // The RDS table as the byte views show it: each text in hex and preview.
    void characterSet_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("preview");
        QTest::newRow("umlauts and dollar")
            << QString::fromUtf8("Grüße $5") << "47 72 99 8d 65 20 ab 35"
            << QString::fromUtf8("Grüße $5");
        QTest::newRow("yen and euro")
            << QString::fromUtf8("¥€") << "3f a9 0d 0d" << QString::fromUtf8("?€");
        QTest::newRow("tilde") << "~"
                               << "7e 0d 0d 0d" << QString(QChar(0x203E));
        QTest::newRow("escape against character")
            << QString::fromUtf8("#E4ä") << "e4 91 0d 0d" << QString::fromUtf8("ŷä");
    }

    void characterSet()
    {
        QFETCH(QString, text);
        QFETCH(QString, hex);
        QFETCH(QString, preview);
        RDSSource s;
        s.endx = 0;
        RdsFormKit kit(s);
        type(kit.find<QLineEdit>("RTA"), text);
        QPlainTextEdit* view = kit.find<QPlainTextEdit>("plainA");
        QCOMPARE(view->toPlainText(), preview);
        kit.find<QToolButton>("hexrt")->click();
        QCOMPARE(view->toPlainText(), thin(hex));
    }

    void byteOrderMark_data()
    {
        QTest::addColumn<QByteArray>("codec");
        QTest::addColumn<bool>("mark");
        QTest::addColumn<QString>("hex");
        QTest::newRow("UTF-16, mark") << QByteArray("UTF-16LE") << true << "ff fe 41 00";
        QTest::newRow("UTF-16, none") << QByteArray("UTF-16LE") << false << "41 00 00 00";
        QTest::newRow("UTF-16 own mark kept once") << QByteArray("UTF-16") << true << "ff fe 41 00";
        QTest::newRow("UTF-16 own mark removed") << QByteArray("UTF-16") << false << "41 00 00 00";
    }

    void byteOrderMark()
    {
        QFETCH(QByteArray, codec);
        QFETCH(bool, mark);
        QFETCH(QString, hex);
        RDSSource s;
        s.endx = 0;
        s.enc = codec;
        s.rtxt = mark ? 0x04 : 0x00;
        RdsFormKit kit(s);
        kit.find<QToolButton>("hexer")->click();
        type(kit.find<QLineEdit>("RTC"), "A");
        QCOMPARE(kit.find<QPlainTextEdit>("plainC")->toPlainText(), thin(hex));
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("html");
        QTest::newRow("control byte") << QByteArray("\x0d"
                                                    "A")
                                      << -1 << -1 << 3 << "_A";
        QTest::newRow("RDS table")
            << QByteArray("\x91\x24") << -1 << -1 << 3 << QString::fromUtf8("ä¤");
        QTest::newRow("UTF-8 marks in characters")
            << QByteArray("\xc3\xbc"
                          "AB")
            << 2 << 3 << 1 << QString::fromUtf8("ü<span style=\"%1\">A</span>B");
        QTest::newRow("no tag from the air") << QByteArray("a<b>") << -1 << -1 << 3 << "a&lt;b>";
        QTest::newRow("marked angle")
            << QByteArray("a<b") << 1 << 2 << 3 << "a<span style=\"%1\">&lt;</span>b";
        QTest::newRow("line and blanks")
            << QByteArray("a\n  b") << -1 << -1 << 1 << "a<br>&nbsp; b";
        QTest::newRow("UCS-2 without mark") << QByteArray("A\0B\0C", 5) << -1 << -1 << 0 << "AB";
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, mode);
        QFETCH(QString, html);
        RdsFormKit kit;
        const QColor window = kit.page->palette().color(QPalette::Window);
        const QColor mark = blend(window, Qt::yellow);
        const QString style = QStringLiteral("background-color: rgb(%1,%2,%3);")
                                  .arg(mark.red())
                                  .arg(mark.green())
                                  .arg(mark.blue());
        if (html.contains("%1"))
            html = html.arg(style);
        QCOMPARE(kit.page->decodeText(bytes, from, to, int(bytes.size()), quint8(mode)), html);
    }

    // A mark names the codec of the eRT texts that follow without one.
    void detectedCodec_data()
    {
        QTest::addColumn<QByteArray>("marked");
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QByteArray>("unmarked");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-16LE") << QByteArray("\xff\xfe"
                                                "A\0",
                                                4)
                                  << "UTF-16LE" << QByteArray("B\0", 2) << "B";
        QTest::newRow("UTF-8") << QByteArray("\xef\xbb\xbf"
                                             "A")
                               << "UTF-8" << QByteArray("CD") << "CD";
    }

    void detectedCodec()
    {
        QFETCH(QByteArray, marked);
        QFETCH(QString, codec);
        QFETCH(QByteArray, unmarked);
        QFETCH(QString, text);
        RdsFormKit kit;
        QCOMPARE(kit.page->decodeText(marked, -1, -1, int(marked.size()), 0), QStringLiteral("A"));
        QCOMPARE(kit.find<QTextEdit>("tRT")->toolTip(), codec);
        QCOMPARE(kit.page->decodeText(unmarked, -1, -1, int(unmarked.size()), 0), text);
    }

    void lengthCutsBytes()
    {
        RdsFormKit kit;
        QCOMPARE(kit.page->decodeText("ABCDEF", -1, -1, 3, 3), QStringLiteral("ABC"));
        QCOMPARE(kit.page->decodeText("ABCDEF", -1, -1, -5, 3), QString());
    }

    void tagTable()
    {
        RDSSource s;
        for (int i = 0; i < 20; ++i)
            s.rttag.append(RTag{i % 64, QStringLiteral("t%1").arg(i)});
        RdsFormKit kit(s);
        QTableWidget* tags = kit.find<QTableWidget>("tags");
        QCOMPARE(tags->rowCount(), 16);
        QCOMPARE(tags->verticalHeaderItem(15)->text(), QStringLiteral("$F"));
        kit.page->addTag();
        QCOMPARE(tags->rowCount(), 16);
        tags->clearSelection();
        tags->item(1, 1)->setSelected(true);
        tags->item(3, 1)->setSelected(true);
        kit.page->delTag();
        QCOMPARE(tags->rowCount(), 14);
        QCOMPARE(tags->verticalHeaderItem(2)->text(), QStringLiteral("$2"));
        QTRY_COMPARE_WITH_TIMEOUT(kit.store->rdsSource(kit.id).rttag.size(), 14,
                                  RdsFormKit::kWaitMs);
        QCOMPARE(kit.store->rdsSource(kit.id).rttag[1].text, QStringLiteral("t2"));
        QCOMPARE(TabRDS::rtplusClassNames().size(), 64);
        QCOMPARE(TabRDS::rtplusClassNames().at(63), QStringLiteral("Get_Data"));
        QCOMPARE(TabRDS::rtplusClassNames().at(33), QStringLiteral("Program.Now"));
    }

    void deleteTwoOfFive()
    {
        RDSSource s;
        for (int i = 0; i < 5; ++i)
            s.rttag.append(RTag{i + 1, QStringLiteral("t%1").arg(i)});
        RdsFormKit kit(s);
        QTableWidget* tags = kit.find<QTableWidget>("tags");
        tags->clearSelection();
        tags->item(1, 1)->setSelected(true);
        tags->item(3, 1)->setSelected(true);
        click(kit.find<QPushButton>("delTag"));
        QCOMPARE(tags->rowCount(), 3);
        const QStringList heads{"$0", "$1", "$2"};
        for (int row = 0; row < 3; ++row)
            QCOMPARE(tags->verticalHeaderItem(row)->text(), heads[row]);
        const QList<RTag> kept{RTag{1, "t0"}, RTag{3, "t2"}, RTag{5, "t4"}};
        QCOMPARE(kit.store->rdsSource(kit.id).rttag, kept);
        QCOMPARE(kit.store->value(QStringLiteral("rds.%1/rttag/2").arg(kit.id)).toString(),
                 QStringLiteral("5 t4"));
        QVERIFY(!kit.store->value(QStringLiteral("rds.%1/rttag/3").arg(kit.id)).isValid());
        RdsFormKit::settle();
        QCOMPARE(tags->rowCount(), 3);
        QCOMPARE(tags->item(2, 1)->text(), QStringLiteral("t4"));
    }

    void ertBits_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("codec");
        QTest::addColumn<bool>("rightToLeft");
        QTest::addColumn<int>("ertb");
        QTest::addColumn<QString>("shown");
        QTest::newRow("UTF-8 sets bit 0")
            << QByteArray("UTF-16LE") << "UTF-8" << false << 0x0001 << "0001";
        QTest::newRow("UTF-8 and right to left")
            << QByteArray("UTF-16LE") << "UTF-8" << true << 0x0003 << "0003";
        QTest::newRow("other codec clears bit 0")
            << QByteArray("UTF-8") << "UTF-16LE" << false << 0x0000 << "0000";
        QTest::newRow("other codec, right to left")
            << QByteArray("UTF-8") << "UTF-16LE" << true << 0x0002 << "0002";
    }

    void ertBits()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, codec);
        QFETCH(bool, rightToLeft);
        QFETCH(int, ertb);
        QFETCH(QString, shown);
        RDSSource s;
        s.rtxt = 0x48; // the eRT identification in 3A is sent, so its box is open
        s.enc = stored;
        s.ertb = stored == "UTF-8" ? 0x0001 : 0x0000;
        RdsFormKit kit(s);
        auto* rtl = kit.find<QCheckBox>("eRTL");
        if (rightToLeft)
            click(rtl);
        QCOMPARE(rtl->isChecked(), rightToLeft);
        auto* codecs = kit.find<QComboBox>("eRTcode");
        codecs->setCurrentIndex(codecs->findText(codec));
        QCOMPARE(kit.key("ertb").toInt(), ertb);
        QCOMPARE(kit.find<QLineEdit>("eRTbits")->text(), shown);
        RdsFormKit::settle();
        QCOMPARE(kit.find<QLineEdit>("eRTbits")->text(), shown);
        QCOMPARE(kit.store->rdsSource(kit.id).enc, codec.toLatin1());
    }

    void groupClash()
    {
        RDSSource s;
        s.rtgrp = 11;
        s.ertg = 9;
        RdsFormKit kit(s);
        auto* plus = kit.find<QComboBox>("pRTgroup");
        auto* enhanced = kit.find<QComboBox>("eRTgroup");
        const QColor normal = kit.page->palette().color(QPalette::Base);
        const QColor tinted = blend(normal, Qt::red);
        QCOMPARE(plus->palette().color(QPalette::Base), normal);

        enhanced->setCurrentIndex(enhanced->findText(QStringLiteral("11A")));
        QCOMPARE(plus->palette().color(QPalette::Base), tinted);
        QCOMPARE(enhanced->palette().color(QPalette::Base), tinted);
        RdsFormKit::settle(); // loaded again from the store: still tinted
        QCOMPARE(kit.key("ertg").toInt(), 11);
        QCOMPARE(plus->palette().color(QPalette::Base), tinted);

        plus->setCurrentIndex(plus->findText(QStringLiteral("5A")));
        QCOMPARE(plus->palette().color(QPalette::Base), normal);
        QCOMPARE(enhanced->palette().color(QPalette::Base), normal);
    }

    void itemBitTips_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("rtitm");
        QTest::addColumn<QString>("tip");
        QTest::newRow("toggle automatic to on")
            << 0x0B << "itemTog" << 0x0D << "Item toggle bit: ein";
        QTest::newRow("toggle on to off") << 0x0D << "itemTog" << 0x09 << "Item toggle bit: aus";
        QTest::newRow("toggle off to automatic")
            << 0x09 << "itemTog" << 0x0B << "Item toggle bit: automatisch mit Audio ID3 Tag";
        QTest::newRow("running off") << 0x0B << "itemRun" << 0x0A << "Item running bit: aus";
        QTest::newRow("running on") << 0x0A << "itemRun" << 0x0B << "Item running bit: ein";
    }

    // A click on an item box stores its bits and shows its new tip at once.
    void itemBitTips()
    {
        QFETCH(int, stored);
        QFETCH(QString, box);
        QFETCH(int, rtitm);
        QFETCH(QString, tip);
        RDSSource s;
        s.rtitm = quint8(stored);
        RdsFormKit kit(s);
        auto* check = kit.find<QCheckBox>(box.toLatin1().constData());
        click(check);
        QCOMPARE(kit.key("rtitm").toInt(), rtitm);
        QCOMPARE(check->toolTip(), tip);
        QCOMPARE(QToolTip::text(), tip);
    }

    void oneGroupWarning()
    {
        RDSSource s;
        s.rtxt = 0x0B; // RadioText and eRT sent
        RdsFormKit kit(s);
        const QString warning =
            QStringLiteral("Die RadioText+ Tags gelten nur für eine RadioText-Gruppe!");
        QVERIFY(kit.find<QGroupBox>("gRTplus")->isChecked());
        const RDSSource before = kit.store->rdsSource(kit.id);
        kit.page->rtxtChanged();
        QCOMPARE(QToolTip::text(), warning);
        RdsFormKit::settle();
        QCOMPARE(kit.writtenFields(), QStringList());
        QCOMPARE(kit.store->rdsSource(kit.id).rtxt, before.rtxt);

        // Another tip up: only all three switches on replace it.
        const QString other = QStringLiteral("andere");
        QToolTip::showText(kit.page->mapToGlobal(QPoint(0, 0)), other);
        auto* sendRT = kit.find<QCheckBox>("sendRT");
        click(sendRT);
        QCOMPARE(QToolTip::text(), other);
        click(sendRT);
        QCOMPARE(QToolTip::text(), warning);
        QCOMPARE(kit.key("rtxt").toInt(), 0x0B);
    }

    // The byte tips of PS and long PS pop while the operator types or clicks
    // in the form, never when another source is chosen.
    void byteTipsOnlyForTheOperator()
    {
        RDSSource first;
        first.ps = "ONE";
        first.lps = "first long";
        RdsFormKit kit(first);
        RDSSource second;
        second.ps = "TWO";
        second.lps = "second long";
        const int other = kit.store->newRDS();
        kit.store->setRDS(other, second);
        kit.store->setGroupRates(other, kit.store->rdsSource(kit.id).gmin);
        RdsFormKit::settle();
        auto* sources = kit.find<QTableWidget>("sources");
        QTRY_COMPARE_WITH_TIMEOUT(sources->rowCount(), 2, RdsFormKit::kWaitMs);

        const QString sentinel = QStringLiteral("andere");
        QToolTip::showText(kit.page->mapToGlobal(QPoint(0, 0)), sentinel);
        for (int row : {1, 0, 1}) {
            sources->setCurrentCell(row, 0);
            RdsFormKit::settle();
            QCOMPARE(QToolTip::text(), sentinel);
        }
        QCOMPARE(kit.find<QLineEdit>("PS")->text(), second.ps);

        type(kit.find<QLineEdit>("PS"), "TWOX");
        QCOMPARE(QToolTip::text(), thin("54 57 4f 58 20 20 20 20"));
        QToolTip::showText(kit.page->mapToGlobal(QPoint(0, 0)), sentinel);
        click(kit.find<QCheckBox>("forceL"));
        QCOMPARE(QToolTip::text(), kit.find<QLineEdit>("LPS")->toolTip());
    }
};

QTEST_MAIN(TestTabRDSText)
#include "tst_tabrdstext.moc"
