// The monitor view of the RDS page: groups published by the store as the
// board engine publishes them, shown on the real widgets of a shown page.
#include "RdsPageKit.h"
#include "RdsRecordKit.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabWidget>
#include <QTableView>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include <cstdlib>
#include <ctime>

namespace {

constexpr int kPi = 0x2345;
constexpr int kStatisticsTab = 4;
const QStringList kLineBoxes{"sTime", "sRaw", "sGroup", "sTP", "sPTY", "sDI", "sCRC"};

QString plain(const QString& html)
{
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}

// The RDS page on a project whose channel 3 (and 5) uses source 1, shown on
// the packet statistics tab with channel `channel` chosen from the keyboard.
class MonitorKit
{
public:
    explicit MonitorKit(const RdsPageKit::Keys& extra = {}, int channel = 3)
        : kit(RdsPageKit::sources({1}) +
              RdsPageKit::Keys{{"channel.3/idrds", 1}, {"channel.5/idrds", 1}} + extra)
    {
        kit.page->setMonitorClock([this] { return seconds; });
        kit.page->show();
        kit.find<QTabWidget>("tabs")->setCurrentIndex(kStatisticsTab);
        choose(channel);
    }

    template <typename T> T* find(const char* name) const { return kit.find<T>(name); }

    void choose(int channel)
    {
        auto* stat = find<QComboBox>("stat");
        stat->setFocus();
        while (stat->currentIndex() < channel)
            QTest::keyClick(stat, Qt::Key_Down);
        while (stat->currentIndex() > channel)
            QTest::keyClick(stat, Qt::Key_Up);
    }

    void publish(const QVariant& value, int channel = 3) const
    {
        kit.store->publish(QStringLiteral("chinfo.%1.rdslog.1").arg(channel), value);
        kit.deliver();
    }

    void send(const Blocks& blocks, const Blocks& dataFlips = {0, 0, 0, 0}) const
    {
        publish(record(blocks, dataFlips));
    }

    void click(const char* name) const
    {
        auto* button = find<QAbstractButton>(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }

    // Checks exactly the given parts of a log line.
    void lineParts(const QStringList& parts) const
    {
        for (const QString& name : kLineBoxes) {
            if (find<QCheckBox>(qPrintable(name))->isChecked() != parts.contains(name))
                click(qPrintable(name));
        }
    }

    // The log since the heading of the shown channel (stepping through the
    // channels on the way wrote the headings of the others before it).
    QStringList logLines() const
    {
        const QStringList lines =
            find<QPlainTextEdit>("pLog")->toPlainText().split(QLatin1Char('\n'));
        const QString heading =
            QStringLiteral("# Kanal %1").arg(find<QComboBox>("stat")->currentIndex());
        return lines.mid(std::max(qsizetype(0), lines.lastIndexOf(heading)));
    }

    QString shown(const char* label) const { return plain(find<QLabel>(label)->text()); }
    // The long PS: its 32 bytes start as zero bytes, and those not sent yet
    // decode to nothing visible.
    QString longPs() const { return shown("lLPS").remove(QChar(u'\0')); }
    QString textView() const { return find<QTextEdit>("tRT")->toPlainText(); }

    RdsPageKit kit;
    qint64 seconds = 1700000000;
};

QStringList column(const QAbstractItemModel* model, int col)
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, col).data().toString();
    return texts;
}

// Unchecks or checks the row's box in the statistics table with the mouse.
void clickCheckBox(QTableView* view, int row)
{
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = view->visualRect(view->model()->index(row, 0));
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());
}

QString groupName(int code)
{
    return QString::number(code >> 1) + ((code & 1) ? u'B' : u'A');
}

// The third word of a line with the time in front: block B.
int codeOfLine(const QString& line)
{
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts).value(2).toInt(nullptr, 16) >> 11;
}

} // namespace

class TestTabRDSMonitor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Two hours east of UTC, without summer time, so the local time of a
        // record is known.
        qputenv("TZ", "XXX-2");
        tzset();
    }

    void decodesWhatTheEncoderSends()
    {
        MonitorKit monitor({}, 0);
        const RDSSource source = encodedSource();
        monitor.kit.store->setRDS(1, source);
        monitor.kit.deliver();
        monitor.choose(5);
        monitor.lineParts({"sTime", "sGroup", "sDI", "sCRC"});
        QCOMPARE(monitor.find<QComboBox>("stat")->currentText(), QString("Kanal 5 (RDS-Quelle 1)"));

        RdsEncoder encoder;
        startEncoder(encoder, source);
        monitor.publish(QStringLiteral("# Kanal 5 - ") + encoder.currentText(), 5);
        auto sendGroups = [&](int count) {
            QMap<int, int> sent;
            for (int i = 0; i < count; ++i) {
                quint8 group[RdsEncoder::kGroupBytes];
                encoder.generate(group);
                ++sent[RdsGroupBytes::unpack(group).blocks[RdsGroup::B] >> 11];
                monitor.kit.store->addRDSLog(5, 1, QTime(6, 0), group);
            }
            monitor.kit.deliver();
            return sent;
        };
        constexpr int kGroups = 300;
        const QMap<int, int> sent = sendGroups(kGroups);

        // The channel's heading, the engine's comment, then one line per group.
        QStringList lines = monitor.logLines();
        QCOMPARE(lines.size(), 2 + kGroups);
        QCOMPARE(lines.at(0), QString("# Kanal 5"));
        QCOMPARE(lines.at(1), QString("# Kanal 5 - " + encoder.currentText()));
        // Every record begins with the byte of '#' and is a group all the same.
        for (const QString& line : lines.mid(2))
            QVERIFY2(line.startsWith("08:00:00.000 2345 "), qPrintable(line));
        const QStringList clock = lines.filter("  4A ");
        QCOMPARE(clock.size(), 1);
        QVERIFY2(clock.first().endsWith("  4A 2024-05-05 08:00 -1:30"), qPrintable(clock.first()));
        QVERIFY(lines.filter(" *").isEmpty());

        QCOMPARE(monitor.shown("lPI"), QString("2345"));
        QCOMPARE(monitor.shown("lPS"), QString("QUORVIN "));
        QVERIFY2(monitor.textView().startsWith("Yesterday - Beatles"),
                 qPrintable(monitor.textView()));
        QCOMPARE(monitor.find<QLabel>("lAF")->text(),
                 QString("95.8: 87.6 100 <span style=\"background-color: "
                         "rgb(0,255,0);\">153</span> "));
        monitor.click("BRTp");
        QCOMPARE(monitor.textView(), QString("Item.Title: Yesterday\nItem.Artist: Beatles\n"));
        monitor.click("BeRT");
        QVERIFY2(monitor.textView().startsWith(source.rtc), qPrintable(monitor.textView()));

        // The statistics table: the group types in code order, the total last.
        auto* table = monitor.find<QTableView>("pTable");
        const QAbstractItemModel* model = table->model();
        QStringList names;
        for (int code : sent.keys())
            names << groupName(code);
        QCOMPARE(column(model, 0), names + QStringList{"Summe"});
        QCOMPARE(model->index(int(names.size()), 1).data().toString(), QString::number(kGroups));
        QCOMPARE(model->index(int(names.size()), 2).data().toString(), QString("685"));
        QCOMPARE(model->index(int(names.size()), 3).data().toString(), QString("100.0 %"));

        // The RadioText box shows the rate of 2A at the next tick.
        auto* gRT = monitor.find<QGroupBox>("gRT");
        const QString title("RadioText");
        monitor.kit.page->timeout();
        const double share = sent.value(4) / (kGroups + 1.0);
        QCOMPARE(gRT->title(), title + QStringLiteral(" (%1/min ~%2%)")
                                           .arg(std::lround(share * 685.0961538461538))
                                           .arg(share * 100, 0, 'f', 1));

        // Unchecked, 2A is still counted but no longer logged.
        const int row2A = int(names.indexOf("2A"));
        clickCheckBox(table, row2A);
        QCOMPARE(model->index(row2A, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        const int logged2A = int(std::count_if(lines.cbegin(), lines.cend(), [](const QString& l) {
            return codeOfLine(l) == 4 && l.contains("  2A");
        }));
        QCOMPARE(logged2A, sent.value(4));
        const QMap<int, int> more = sendGroups(kGroups);
        QVERIFY(more.value(4) > 0);
        lines = monitor.logLines();
        QCOMPARE(lines.size(), 2 + 2 * kGroups - more.value(4));
        QCOMPARE(lines.filter("  2A").size(), logged2A);
        QCOMPARE(model->index(row2A, 1).data().toString(),
                 QString::number(sent.value(4) + more.value(4)));
    }

    void logLine_data()
    {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<Blocks>("blocks");
        QTest::addColumn<Blocks>("flips");
        QTest::addColumn<QString>("line");
        const Blocks clean{0, 0, 0, 0};
        QTest::newRow("time and check words, no errors")
            << QStringList{"sTime", "sCRC"} << Blocks{kPi, 0x0408, 0xE205, 0x4142} << clean
            << "14:00:00.000 2345 0408 E205 4142";
        QTest::newRow("raw bytes")
            << QStringList{"sRaw"} << Blocks{kPi, 0x0408, 0xE205, 0x4142} << clean
            << QString::fromLatin1(record({kPi, 0x0408, 0xE205, 0x4142}).left(13).toHex());
        QTest::newRow("group, PTY, TP and TA of 0A")
            << QStringList{"sGroup", "sPTY", "sTP"} << Blocks{kPi, 0x04B0, 0xE205, 0x4142} << clean
            << "2345 04B0 E205 4142  0A  5 11";
        QTest::newRow("TP alone in 2B")
            << QStringList{"sGroup", "sTP"} << Blocks{kPi, 0x2C10, kPi, 0x4142} << clean
            << "2345 2C10 2345 4142  2B 1_";
        QTest::newRow("decoded 0A") << QStringList{"sDI"} << Blocks{kPi, 0x0005, 0xE205, 0x4142}
                                    << clean << "2345 0005 E205 4142 101 AB #2 88";
        QTest::newRow("two bad blocks marked")
            << QStringList{"sCRC"} << Blocks{kPi, 0x2000, 0x4142, 0x4344} << Blocks{0, 0, 1, 2}
            << "2345 2000 4143 4346 *2";
        QTest::newRow("bad blocks unmarked") << QStringList{} << Blocks{kPi, 0x2000, 0x4142, 0x4344}
                                             << Blocks{0, 0, 1, 2} << "2345 2000 4143 4346";
    }
    void logLine()
    {
        QFETCH(QStringList, parts);
        QFETCH(Blocks, blocks);
        QFETCH(Blocks, flips);
        QFETCH(QString, line);
        MonitorKit monitor;
        monitor.lineParts(parts);
        monitor.send(blocks, flips);
        QCOMPARE(monitor.logLines().last(), line);
    }

    void commentsAndRecords()
    {
        MonitorKit monitor;
        monitor.publish(QStringLiteral("# Kanal 3 - Grüße"));
        monitor.publish(QStringLiteral("# Kanal 4 - Nachbar"), 4);
        monitor.publish(record({0x2320, 0x0000, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}), 4);
        // Bytes that begin with '#' are a group record, never a comment.
        monitor.lineParts({"sCRC"});
        monitor.publish(record({0x2320, 0x0000, 0, 0x4142}));
        QCOMPARE(monitor.logLines(),
                 QStringList({"# Kanal 3", "# Kanal 3 - Grüße", "2320 0000 0000 4142"}));
        QCOMPARE(monitor.kit.page->findChild<QTableView*>("pTable")->model()->rowCount(), 2);
    }

    void decoderPanel()
    {
        MonitorKit monitor;
        // 0A, segment 2: TP, TA, music, and the DI bit of segment 2 (artificial head).
        monitor.send({kPi, 0x041E, 0x0000, 0x4142});
        QCOMPARE(monitor.shown("lPI"), QString("2345"));
        QCOMPARE(monitor.shown("lPTY"), QString("0 No Program TYpe"));
        QVERIFY(monitor.find<QCheckBox>("cbTP")->isChecked());
        QVERIFY(monitor.find<QCheckBox>("cbTA")->isChecked());
        QCOMPARE(monitor.shown("lDB"), QString("10100"));
        QCOMPARE(monitor.find<QLabel>("lDB")->toolTip(),
                 QString("\n1____: Music\n_0___: Mono\n__1__: Kunstkopf\n____0: static PTY"));
        QCOMPARE(monitor.shown("lPS"), QString("    AB  "));

        // 0B with a bad A takes the PI from block C; PTY 10 and no TP.
        monitor.send({0x1111, 0x0940, 0xD311, 0x4344}, {4, 0, 0, 0});
        QCOMPARE(monitor.shown("lPI"), QString("D311"));
        QCOMPARE(monitor.shown("lPTY"), QString("10 Pop Music"));
        QVERIFY(!monitor.find<QCheckBox>("cbTP")->isChecked());
        QCOMPARE(monitor.shown("lPS"), QString("CD  AB  "));

        // A bad B leaves everything but the PI as it was.
        monitor.send({0xBEEF, 0x0008, 0x0000, 0x5858}, {0, 1, 0, 0});
        QCOMPARE(monitor.shown("lPI"), QString("BEEF"));
        QCOMPARE(monitor.shown("lPS"), QString("CD  AB  "));

        // PTYN in 10A; a new A/B flag starts it afresh.
        monitor.send({kPi, 0xA000, 0x4A41, 0x5A5A});
        monitor.send({kPi, 0xA001, 0x2020, 0x2020});
        QCOMPARE(monitor.shown("lPTYN"), QString("JAZZ    "));
        monitor.send({kPi, 0xA011, 0x524F, 0x434B});
        QCOMPARE(monitor.shown("lPTYN"), QString("    ROCK"));

        // Choosing another channel clears the panel.
        monitor.choose(4);
        for (const char* label : {"lPI", "lPTY", "lDB", "lPS", "lPTYN"})
            QVERIFY2(monitor.find<QLabel>(label)->text().isEmpty(), label);
        QVERIFY(!monitor.find<QCheckBox>("cbTA")->isChecked());
    }

    void radioTextViewSwitchesToHexAndBack()
    {
        MonitorKit monitor;
        monitor.send({kPi, 0x2000, 0x5155, 0x4F52});
        monitor.send({kPi, 0x2001, 0x5649, 0x4E0D});
        QCOMPARE(monitor.textView(), QString("QUORVIN_"));
        QCOMPARE(monitor.find<QPushButton>("BRT")->text(), QString("1"));
        monitor.click("BRT");
        // The hexadecimal view shows the whole buffer.
        QCOMPARE(monitor.textView(), "51554f5256494e0d" + QString("20").repeated(56));
        QCOMPARE(monitor.find<QTextEdit>("tRT")->toolTip(), QString("normal RadioText"));
        monitor.send({kPi, 0x2000, 0x5155, 0x4F52});
        QVERIFY(monitor.textView().startsWith("51554f52"));
        monitor.click("BRT");
        QCOMPARE(monitor.textView(), QString("QUORVIN_"));
    }

    void radioText2BLengthFollowsTheCycle()
    {
        MonitorKit monitor;
        for (int segment = 0; segment < 16; ++segment)
            monitor.send({kPi, 0x2800 | segment, kPi, 0x4100 | (0x41 + segment)});
        monitor.send({kPi, 0x2800, kPi, 0x4141});
        QCOMPARE(monitor.textView().size(), 32);
        QVERIFY2(monitor.textView().startsWith("AAABACAD"), qPrintable(monitor.textView()));
        // A shorter text is as long as its own cycle once that ends.
        monitor.send({kPi, 0x2810, kPi, 0x4849});
        monitor.send({kPi, 0x2811, kPi, 0x2121});
        monitor.send({kPi, 0x2810, kPi, 0x4849});
        QCOMPARE(monitor.textView(), QString("HI!!"));
    }

    void afLists_data()
    {
        QTest::addColumn<QList<int>>("codes"); // block C of 0A groups after the head
        QTest::addColumn<QString>("text");
        QTest::newRow("two FM") << QList<int>{0x0119} << "95.8: 87.6 90 ";
        QTest::newRow("regional pair in blue")
            << QList<int>{0x1901}
            << "95.8: <span style=\"background-color: rgb(0,0,255);\">90</span> "
               "<span style=\"background-color: rgb(0,0,255);\">87.6</span> ";
        QTest::newRow("LF and MF in green")
            << QList<int>{0xFA01, 0xFA10}
            << "95.8: <span style=\"background-color: rgb(0,255,0);\">153</span> "
               "<span style=\"background-color: rgb(0,255,0);\">531</span> ";
        QTest::newRow("the head and fillers are no entries") << QList<int>{0x53CD} << "";
        QTest::newRow("two lists")
            << QList<int>{0x0119, 0xE202, 0x53CD} << "87.7: 95.8 <br/>95.8: 87.6 90 ";
    }
    void afLists()
    {
        QFETCH(QList<int>, codes);
        QFETCH(QString, text);
        MonitorKit monitor;
        monitor.send({kPi, 0x0000, 0x0119, 0x2020}); // no head yet: nothing
        monitor.send({kPi, 0x0000, 0xE353, 0x2020}); // three AFs, tuned to 95.8
        for (int c : codes)
            monitor.send({kPi, 0x0001, c, 0x2020});
        QCOMPARE(monitor.find<QLabel>("lAF")->text(), text);
    }

    void afEntriesAgeOut()
    {
        MonitorKit monitor;
        monitor.send({kPi, 0x0000, 0xE353, 0x2020});
        monitor.send({kPi, 0x0001, 0x0119, 0x2020}); // 87.6 and 90.0
        monitor.seconds += 15;
        monitor.send({kPi, 0x0002, 0x1919, 0x2020}); // 90.0 again
        monitor.seconds += 6;
        monitor.send({kPi, 0x0003, 0xE353, 0x2020}); // 87.6 unseen for 21 s
        QCOMPARE(monitor.find<QLabel>("lAF")->text(), QString("95.8: 90 "));
        monitor.seconds += 21;
        monitor.send({kPi, 0x0000, 0xE353, 0x2020});
        QCOMPARE(monitor.find<QLabel>("lAF")->text(), QString("95.8: "));
    }

    void longPsNeedsGoodBlocks()
    {
        MonitorKit monitor;
        monitor.send({kPi, 0xF000, 0x4C6F, 0x6E67});
        QCOMPARE(monitor.longPs(), QString("Long"));
        monitor.send({kPi, 0xF001, 0x2050, 0x5321}, {0, 0, 0x0100, 0});
        QCOMPARE(monitor.longPs(), QString("Long"));
        monitor.send({kPi, 0xF001, 0x2050, 0x5321}, {0, 0, 0, 0x0001});
        QCOMPARE(monitor.longPs(), QString("Long"));
        monitor.send({kPi, 0xF001, 0x2050, 0x5321});
        QCOMPARE(monitor.longPs(), QString("Long PS!"));
    }

    void rateTitles()
    {
        MonitorKit monitor;
        for (const int b : {0x0000, 0x0000, 0x0800, 0x1000, 0x4000, 0x8000, 0x8000})
            monitor.send({kPi, b, 0, 0});
        monitor.kit.page->timeout();
        // Shares of 8 (the total plus one): 2, 1 and 1 eighths.
        QCOMPARE(monitor.find<QGroupBox>("group00")->title(),
                 QString("Gruppe 0: PS Program Service Name && AF Alternative Frequenzen "
                         "(A 171/min + B 86/min = ~37.5%)"));
        QCOMPARE(monitor.find<QGroupBox>("group01")->title(), QString("Gruppe 1A: ECC (86/min)"));
        QCOMPARE(monitor.find<QGroupBox>("group04")->title(),
                 QString("Gruppe 4A: UTC Uhrzeit und Datum (86/min)"));
        QCOMPARE(monitor.find<QGroupBox>("group08")->title(),
                 QString("Gruppe 8A: TMC (171/min ~25.0%)"));
        QCOMPARE(monitor.find<QGroupBox>("gBasic")->title(), QString("Basic Tuning and Switching"));

        // Another channel: the rates go, the short name stays.
        monitor.choose(4);
        QCOMPARE(monitor.find<QGroupBox>("group00")->title(),
                 QString("Gruppe 0: PS Program Service Name && AF Alternative Frequenzen"));
        QCOMPARE(monitor.find<QGroupBox>("group01")->title(), QString("Gruppe 1A: ECC"));
        QCOMPARE(monitor.find<QGroupBox>("group08")->title(), QString("Gruppe 8A: TMC"));
    }

    void restartClearsLogAndCounts()
    {
        MonitorKit monitor;
        monitor.send({kPi, 0x0000, 0, 0});
        monitor.send({kPi, 0x2000, 0, 0});
        auto* restart = monitor.find<QToolButton>("Brestart");
        QVERIFY(restart->isEnabled());
        QTest::mouseClick(restart, Qt::LeftButton);
        QCOMPARE(monitor.logLines(), QStringList{"# Kanal 3"});
        QCOMPARE(monitor.find<QTableView>("pTable")->model()->rowCount(), 0);
        monitor.choose(0);
        QVERIFY(!restart->isEnabled());
    }

    // The boards publish a channel's play position between its RDS groups,
    // thousands a second: the page takes the positions newest only, yet every
    // group of a burst in one pass is counted and logged, in order.
    void burstOfRecordsAmongPlayPositionsReachesTheMonitorWhole()
    {
        MonitorKit monitor;
        constexpr int kGroups = 1000;
        for (int n = 0; n < kGroups; ++n) {
            monitor.kit.store->publish(QStringLiteral("chinfo.3.playpos"), n);
            monitor.kit.store->publish(QStringLiteral("chinfo.3.rdslog.1"),
                                       record({kPi, 0x2000, n, 0}));
        }
        monitor.kit.deliver();
        const QStringList lines = monitor.logLines().filter(QStringLiteral(" 2345 2000 "));
        QCOMPARE(lines.size(), kGroups);
        for (int n = 0; n < kGroups; ++n)
            QVERIFY2(
                lines.at(n).contains(
                    QStringLiteral(" 2345 2000 %1 ").arg(n, 4, 16, QLatin1Char('0')).toUpper()),
                qPrintable(lines.at(n)));
        const QAbstractItemModel* model = monitor.find<QTableView>("pTable")->model();
        QCOMPARE(column(model, 1).constLast(), QString::number(kGroups));
    }

    // A long run: the log keeps its last 10,000 lines, and the statistics
    // table on screen shows the counts, rates and shares of every row, not
    // only of the group that came last.
    void longRunShowsWholeTable()
    {
        MonitorKit monitor;
        auto* table = monitor.find<QTableView>("pTable");
        table->resize(420, 260);
        QCoreApplication::processEvents();
        // Of every ten groups: five 0A, three 2A, one 3A, one 4A.
        const int pattern[] = {0x0000, 0x2000, 0x0000, 0x2000, 0x0000,
                               0x3000, 0x0000, 0x2000, 0x0000, 0x4000};
        constexpr int kGroups = 20000;
        for (int n = 0; n < kGroups; ++n) {
            monitor.kit.page->appendRdsLog(3, record({kPi, pattern[n % 10], n & 0xFFFF, 0}));
            // The table is painted now and then while the groups arrive.
            if (n % 997 == 0 || n == kGroups - 5)
                QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();

        const QStringList lines =
            monitor.find<QPlainTextEdit>("pLog")->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 10000);
        QVERIFY(lines.last().startsWith(QStringLiteral("14:00:00.000 2345 4000 4E1F 0000")));

        const QAbstractItemModel* model = table->model();
        QCOMPARE(column(model, 0), QStringList({"0A", "2A", "3A", "4A", "Summe"}));
        QCOMPARE(column(model, 1), QStringList({"10000", "6000", "2000", "2000", "20000"}));
        QCOMPARE(column(model, 2), QStringList({"343", "206", "69", "69", "685"}));
        QCOMPARE(column(model, 3),
                 QStringList({"50.0 %", "30.0 %", "10.0 %", "10.0 %", "100.0 %"}));

        // What the screen shows is what a fresh paint of the table shows.
        const QImage fresh = table->viewport()->grab().toImage();
        const QPoint origin = table->viewport()->mapTo(table->window(), QPoint(0, 0));
        const QImage onScreen = table->screen()
                                    ->grabWindow(table->window()->winId(), origin.x(), origin.y(),
                                                 fresh.width(), fresh.height())
                                    .toImage()
                                    .convertToFormat(fresh.format());
        QCOMPARE(onScreen.size(), fresh.size());
        QVERIFY(onScreen == fresh);
    }

    // Opening another project starts the statistics afresh.
    void newProjectResetsCounts()
    {
        MonitorKit monitor;
        for (int b : {0x0000, 0x0000, 0x2000})
            monitor.send({kPi, b, 0, 0});
        monitor.kit.page->timeout();
        QVERIFY(monitor.find<QGroupBox>("group00")->title().contains(QStringLiteral("/min")));
        const QAbstractItemModel* model = monitor.find<QTableView>("pTable")->model();
        QCOMPARE(model->rowCount(), 3);

        const QSharedPointer<FMSettings> other = monitor.kit.openProject(
            QStringLiteral("other.fm"),
            RdsPageKit::sources({1}) + RdsPageKit::Keys{{"channel.3/idrds", 1}});
        monitor.kit.page->setProgram(other);
        monitor.kit.deliver();
        QCOMPARE(model->rowCount(), 0);
        monitor.kit.page->timeout();
        QVERIFY(!monitor.find<QGroupBox>("group00")->title().contains(QStringLiteral("/min")));
        other->publish(QStringLiteral("chinfo.3.rdslog.1"), record({kPi, 0x2000, 0, 0}));
        monitor.kit.deliver();
        QCOMPARE(column(model, 0), QStringList({"2A", "Summe"}));
        QCOMPARE(column(model, 1), QStringList({"1", "1"}));
    }

    void channelChoosesTheDecoding()
    {
        MonitorKit monitor({{"rds.1/crt", "UTF-8"}}, 4);
        QCOMPARE(monitor.find<QComboBox>("cbDecode")->currentText(), QString("E.1 (Standard)"));
        monitor.choose(3);
        QCOMPARE(monitor.find<QComboBox>("cbDecode")->currentText(), QString("UTF-8"));
        // The long PS in UTF-8 either way.
        monitor.send({kPi, 0xF000, 0xC3BC, 0x6265});
        QCOMPARE(monitor.longPs(), QString("übe"));
    }

    void saveLogWritesUtf8()
    {
        MonitorKit monitor;
        monitor.publish(QStringLiteral("# Kanal 3 - Grüße ≠"));
        monitor.send({kPi, 0x0000, 0, 0});
        const QString name = monitor.kit.dir.filePath("log.txt");
        ModalQuestions::setNextFileName(name);
        monitor.click("saveLog");
        QCOMPARE(ModalQuestions::asked().last(), QString("RDS-Log speichern..."));
        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        QCOMPARE(saved, monitor.find<QPlainTextEdit>("pLog")->toPlainText().toUtf8());
        QVERIFY(saved.contains("# Kanal 3 - Gr\xC3\xBC\xC3\x9F"
                               "e \xE2\x89\xA0"));
        // Cancelled: nothing is written.
        monitor.send({kPi, 0x2000, 0, 0});
        monitor.click("saveLog");
        file.close();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), saved);
    }
};

QTEST_MAIN(TestTabRDSMonitor)
#include "tst_tabrdsmonitor.moc"
