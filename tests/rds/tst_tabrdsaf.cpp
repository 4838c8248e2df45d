// The AF form of the RDS page: typing frequencies into the manual list, the
// validator of the frequency editor, the method-B hint, the send table and
// the regional marks, on a real store and the real widgets.
#include "RdsFormKit.h"
#include "board/RdsEncoder.h"
#include "gui/StatusColours.h"
#include "rds/AFTableSend.h"
#include "rds/AFValid.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolTip>

namespace {

using Afs = QList<qint32>; // manual list as stored: a list head negative

constexpr quint8 kAfOn = 1, kAfAuto = 2, kAfManual = 4, kAfMethodB = 8;
constexpr int kAfTab = 1;

// A source that sends AF from its manual list, loaded and shown on the AF tab.
class AfKit : public RdsFormKit
{
public:
    explicit AfKit(quint8 afu, const Afs& manual = {}) : RdsFormKit(withAfu(afu))
    {
        QList<AFEntry> list;
        for (qint32 f : manual) {
            AFEntry entry;
            entry.freq = std::abs(f);
            entry.marker = f < 0 ? AFEntry::kNegativeMarker : 0;
            list.append(entry);
        }
        if (!manual.isEmpty())
            store->setAFs(id, list);
        find<QTabWidget>("tabs")->setCurrentIndex(kAfTab);
        settle();
    }

    QTableWidget* manual() const { return find<QTableWidget>("AFmtab"); }

    QString cell(int row, int column) const
    {
        const QTableWidgetItem* item = manual()->item(row, column);
        return item ? item->text() : QStringLiteral("<none>");
    }

    QString afs() const { return key(QStringLiteral("afs")).toString(); }

    void click(const char* button) const
    {
        auto* b = find<QAbstractButton>(button);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(4, b->height() / 2));
        settle();
    }

    // The press that sets the pressed cell comes first, as the user makes it.
    void doubleClick(QAbstractItemView* view, int row, int column) const
    {
        const QRect rect = view->visualRect(view->model()->index(row, column));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        settle();
    }

    // The colour painted at the right end of a cell, clear of its text.
    static QColor cellColour(QAbstractItemView* view, int row, int column)
    {
        const QRect rect = view->visualRect(view->model()->index(row, column));
        return view->viewport()->grab().toImage().pixelColor(rect.right() - 4, rect.center().y());
    }

private:
    static RDSSource withAfu(quint8 afu)
    {
        RDSSource source;
        source.afu = afu;
        return source;
    }
};

// Types into the editor of the current cell and commits with Return; the
// delegate commits through the event loop.
void typeIntoEditor(const QTableWidget* table, const QString& text);

QLineEdit* openEditor(const QTableWidget* table)
{
    auto* editor = qobject_cast<QLineEdit*>(table->indexWidget(table->currentIndex()));
    if (!editor)
        qFatal("no frequency editor open");
    return editor;
}

void typeIntoEditor(const QTableWidget* table, const QString& text)
{
    QLineEdit* editor = openEditor(table);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    RdsFormKit::settle();
}

Afs fmFrequencies(int count)
{
    Afs list;
    for (int i = 0; i < count; ++i)
        list.append(876 + i);
    return list;
}

} // namespace

class TestTabRDSAF : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // The editor formats with the default locale; the rows below are
        // written with a decimal point.
        QLocale::setDefault(QLocale::c());
    }

    void typedFrequencyIsStored_data()
    {
        QTest::addColumn<Afs>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("regional");
        QTest::addColumn<QString>("shown");
        QTest::newRow("95 into an empty list") << Afs{} << "95"
                                               << "950" << 0 << "nein"
                                               << "95.0 MHz";
        QTest::newRow("1602 is kHz") << Afs{} << "1602"
                                     << "16020" << 0 << "nein"
                                     << "1602 kHz";
        QTest::newRow("153 is the first LF point") << Afs{} << "153"
                                                   << "1530" << 0 << "nein"
                                                   << "153 kHz";
        QTest::newRow("minus makes a list head") << Afs{} << "-95.5"
                                                 << "-955" << 0 << "Start"
                                                 << "95.5 MHz";
        QTest::newRow("appended after the list") << Afs{876, -990} << "107.9"
                                                 << "876 -990 1079" << 2 << "nein"
                                                 << "107.9 MHz";
        QTest::newRow("87.65 is cut while typing") << Afs{} << "87.65"
                                                   << "876" << 0 << "nein"
                                                   << "87.6 MHz";
    }

    void typedFrequencyIsStored()
    {
        QFETCH(QString, stored);
        QFETCH(QString, regional);
        QFETCH(QString, shown);
        QFETCH(Afs, before);
        QFETCH(QString, typed);
        AfKit kit(kAfOn | kAfManual, before);
        kit.click("BaddAF");
        typeIntoEditor(kit.manual(), typed);
        QCOMPARE(kit.afs(), stored);

        // The store's notification reloads the table from what it holds.
        RdsFormKit::settle();
        QCOMPARE(kit.manual()->rowCount(), before.size() + 1);
        QFETCH(int, row);
        QCOMPARE(kit.cell(row, 0), regional);
        QCOMPARE(kit.cell(row, 1), shown);
    }

    void newListHeadIsStoredOnceTyped()
    {
        AfKit kit(kAfOn | kAfManual | kAfMethodB, {950});
        kit.click("BaddList");
        QCOMPARE(kit.cell(1, 0), QStringLiteral("Start"));
        QCOMPARE(kit.afs(), QStringLiteral("950")); // a head without frequency is not stored
        typeIntoEditor(kit.manual(), QStringLiteral("99"));
        QCOMPARE(kit.afs(), QStringLiteral("950 -990"));
    }

    void validator_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("validated");
        QTest::addColumn<QString>("fixedUp");
        const int invalid = QValidator::Invalid;
        const int intermediate = QValidator::Intermediate;
        const int acceptable = QValidator::Acceptable;
        QTest::newRow("FM") << "95.8" << acceptable << "95.8"
                            << "95.8";
        QTest::newRow("FM with a point still to come") << "95." << acceptable << "95."
                                                       << "95";
        QTest::newRow("second decimal cut") << "87.65" << acceptable << "87.6"
                                            << "87.6";
        QTest::newRow("unit dropped") << "1602 kHz" << acceptable << "1602"
                                      << "1602 kHz";
        QTest::newRow("below FM") << "50" << intermediate << "50"
                                  << "87.6";
        QTest::newRow("108 between the bands") << "108" << intermediate << "108"
                                               << "107.9";
        QTest::newRow("120 between the bands") << "120" << intermediate << "120"
                                               << "107.9";
        QTest::newRow("151 below LF") << "151" << intermediate << "151"
                                      << "153";
        QTest::newRow("LF start") << "153" << acceptable << "153"
                                  << "153";
        QTest::newRow("LF off the raster") << "170" << acceptable << "171"
                                           << "171";
        QTest::newRow("LF fraction") << "162.5" << acceptable << "162"
                                     << "162";
        QTest::newRow("300 above LF") << "300" << acceptable << "279"
                                      << "531";
        QTest::newRow("450 below MF") << "450" << acceptable << "531"
                                      << "531";
        QTest::newRow("MF on the raster") << "999" << acceptable << "999"
                                          << "999";
        QTest::newRow("MF off the raster") << "1400" << acceptable << "1404"
                                           << "1404";
        QTest::newRow("1605 beyond MF") << "1605" << acceptable << "1602"
                                        << "1602";
        QTest::newRow("1650 loses its last digit") << "1650" << intermediate << "165"
                                                   << "1602";
        QTest::newRow("list head") << "-95.5" << acceptable << "-95.5"
                                   << "-95.5";
        QTest::newRow("list head below FM") << "-50" << intermediate << "-50"
                                            << "-87.6";
        QTest::newRow("minus alone") << "-" << intermediate << "-"
                                     << "";
        QTest::newRow("empty") << "" << intermediate << ""
                               << "";
        QTest::newRow("not a number") << "9x" << invalid << "9x"
                                      << "";
        QTest::newRow("infinity") << "inf" << invalid << "inf"
                                  << "";
        QTest::newRow("huge") << "1e300" << intermediate << "1e30"
                              << "1602";
    }

    void validator()
    {
        QFETCH(int, state);
        QFETCH(QString, validated);
        QFETCH(QString, fixedUp);
        QFETCH(QString, typed);
        AFValid valid;
        QString text = typed;
        int pos = int(text.size());
        QCOMPARE(int(valid.validate(text, pos)), state);
        QCOMPARE(text, validated);
        QVERIFY(pos <= text.size());
        text = typed;
        valid.fixup(text);
        QCOMPARE(text, fixedUp);
    }

    void methodBHint_data()
    {
        QTest::addColumn<quint8>("method");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("hint");
        QTest::newRow("26 under A") << quint8(0) << 26 << true;
        QTest::newRow("30 under A") << quint8(0) << 30 << true;
        QTest::newRow("25 under A") << quint8(0) << 25 << false;
        QTest::newRow("26 under B") << kAfMethodB << 26 << false;
    }

    void methodBHint()
    {
        QFETCH(quint8, method);
        QFETCH(int, count);
        QFETCH(bool, hint);
        AfKit kit(kAfOn | kAfManual | method, fmFrequencies(count));
        QToolTip::hideText();
        auto* timer = kit.page->findChild<QTimer*>(QStringLiteral("variantHint"));
        QVERIFY(timer);
        QVERIFY(!timer->isActive()); // loading a source asks for no hint

        kit.click(method ? "AFB" : "AFA");
        if (!hint) {
            QVERIFY(!timer->isActive());
            QVERIFY(!QToolTip::isVisible());
            return;
        }
        QCOMPARE(timer->interval(), 150);
        QVERIFY(timer->isSingleShot());
        QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), RdsFormKit::kWaitMs);
        QCOMPARE(QToolTip::text(),
                 QStringLiteral("bei >25 Frequenzen sollte Verfahren B eingesetzt werden"));
        QToolTip::hideText();
    }

    void sendTableOfTheSource_data()
    {
        QTest::addColumn<Afs>("manual");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("f1");
        QTest::addColumn<QString>("f2");
        QTest::addColumn<QColor>("colour1");
        QTest::addColumn<QColor>("colour2");
        QTest::addColumn<QString>("bytes");
        QTest::newRow("MF after 250") << Afs{5310} << 1 << "LW/MW"
                                      << "531 kHz" << statusGreen << statusGreen << "250 = fa";
        QTest::newRow("LF after 250") << Afs{1530} << 1 << "LW/MW"
                                      << "153 kHz" << statusGreen << statusGreen << "250 = fa";
        QTest::newRow("count of an empty list")
            << Afs{} << 0 << "1 AF"
            << "<fill>" << statusYellow << QColor() << "225 = e1";
        QTest::newRow("count and filler") << Afs{958} << 0 << "2 AFs"
                                          << "<fill>" << statusYellow << QColor() << "226 = e2";
    }

    void sendTableOfTheSource()
    {
        QFETCH(QString, f1);
        QFETCH(QString, f2);
        QFETCH(QString, bytes);
        QFETCH(Afs, manual);
        QFETCH(int, row);
        AfKit kit(kAfOn | kAfManual, manual);
        auto* view = kit.find<QTableView>("AFsend");
        QAbstractItemModel* model = view->model();
        QCOMPARE(model->index(row, 0).data().toString(), f1);
        QCOMPARE(model->index(row, 1).data().toString(), f2);
        QFETCH(QColor, colour1);
        QFETCH(QColor, colour2);
        QCOMPARE(AfKit::cellColour(view, row, 0), colour1);
        if (colour2.isValid())
            QCOMPARE(AfKit::cellColour(view, row, 1), colour2);
        else
            QVERIFY(AfKit::cellColour(view, row, 1) != colour1);

        kit.click("AFbytes");
        QCOMPARE(model->index(row, 0).data().toString(), bytes);
        kit.click("AFbytes");
        QCOMPARE(model->index(row, 0).data().toString(), f1);
    }

    void sendTableTexts_data()
    {
        QTest::addColumn<quint16>("pair");
        QTest::addColumn<bool>("methodB");
        QTest::addColumn<QString>("f1");
        QTest::addColumn<QString>("f2");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QColor>("colour1");
        QTest::addColumn<QColor>("colour2");
        QTest::newRow("first and last FM") << quint16(0x01CC) << false << "87.6"
                                           << "107.9"
                                           << "" << QColor() << QColor();
        QTest::newRow("no AF, code 0") << quint16(0xE000) << false << "keine AF"
                                       << "Fehler"
                                       << "" << QColor(statusYellow) << QColor();
        QTest::newRow("unassigned codes") << quint16(0xCEFB) << false << "? 206"
                                          << "? 251"
                                          << "" << QColor() << QColor();
        QTest::newRow("24 AFs") << quint16(0xF8CD) << false << "24 AFs"
                                << "<fill>"
                                << "" << QColor(statusYellow) << QColor();
        QTest::newRow("code beyond MF after 250")
            << quint16(0xFA88) << false << "LW/MW"
            << "? 136"
            << "" << QColor(statusGreen) << QColor(statusGreen);
        QTest::newRow("B same programme") << quint16(0x0A14) << true << "88.5"
                                          << "89.5"
                                          << "F1 < F2" << QColor() << QColor();
        QTest::newRow("B regional variant")
            << quint16(0x140A) << true << "89.5"
            << "88.5"
            << "F1 > F2 regional" << QColor(statusBlue) << QColor(statusBlue);
        QTest::newRow("A never regional") << quint16(0x140A) << false << "89.5"
                                          << "88.5"
                                          << "" << QColor() << QColor();
        QTest::newRow("B count word") << quint16(0xE30A) << true << "3 AFs"
                                      << "88.5"
                                      << "" << QColor(statusYellow) << QColor();
    }

    void sendTableTexts()
    {
        QFETCH(bool, methodB);
        QFETCH(QString, f1);
        QFETCH(QString, f2);
        QFETCH(QString, tip);
        QFETCH(QColor, colour1);
        QFETCH(QColor, colour2);
        QFETCH(quint16, pair);
        AFTableSend model;
        model.refresh({pair}, methodB);
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.index(0, 0).data().toString(), f1);
        QCOMPARE(model.index(0, 1).data().toString(), f2);
        QCOMPARE(model.index(0, 0).data(Qt::ToolTipRole).toString(), tip);
        const auto colour = [&](int column) {
            const QVariant brush = model.index(0, column).data(Qt::BackgroundRole);
            return brush.isValid() ? brush.value<QBrush>().color() : QColor();
        };
        QCOMPARE(colour(0), colour1);
        QCOMPARE(colour(1), colour2);
    }

    void regionalToggle_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("afr");
        QTest::addColumn<QString>("shown");
        QTest::newRow("frequency becomes regional") << 1 << 0 << "950"
                                                    << "ja";
        QTest::newRow("list head stays a head") << 0 << 0 << ""
                                                << "Start";
        QTest::newRow("frequency column opens the editor") << 1 << 1 << ""
                                                           << "nein";
    }

    void regionalToggle()
    {
        QFETCH(QString, shown);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, afr);
        AfKit kit(kAfOn | kAfManual | kAfMethodB, {-990, 950});
        kit.doubleClick(kit.manual(), row, column);
        QCOMPARE(kit.key(QStringLiteral("afr")).toString(), afr);
        QCOMPARE(kit.afs(), QStringLiteral("-990 950"));
        QCOMPARE(kit.cell(row, 0), shown);
        if (afr.isEmpty())
            return;
        QCOMPARE(AfKit::cellColour(kit.manual(), row, 1), statusBlue);
        kit.doubleClick(kit.manual(), row, column);
        QCOMPARE(kit.key(QStringLiteral("afr")).toString(), QString());
        QCOMPARE(kit.cell(row, 0), QStringLiteral("nein"));
    }

    // Without a selected row of the automatic list the send table shows the
    // lists as the first channel on the source sends them.
    void sendTablePreviewsFirstChannel_data()
    {
        QTest::addColumn<quint8>("afu");
        QTest::addColumn<Afs>("manual");
        QTest::addColumn<int>("firstUsed"); // the channels before it are unused
        QTest::addColumn<double>("mhz");
        QTest::addColumn<QString>("firstPair");
        QTest::newRow("method A, manual list")
            << quint8(kAfOn | kAfManual) << Afs{876, 1000, 1042} << 3 << 95.8 << "4 AFs | 95.8";
        QTest::newRow("method A, first channels unused")
            << quint8(kAfOn | kAfManual) << Afs{876, 1000} << 5 << 100.0 << "2 AFs | 100.0";
        QTest::newRow("method B, automatic list off")
            << quint8(kAfOn | kAfManual | kAfMethodB) << Afs{-958, 876, 1000} << 2 << 95.8
            << "5 AFs | 95.8";
    }

    void sendTablePreviewsFirstChannel()
    {
        QFETCH(quint8, afu);
        QFETCH(Afs, manual);
        QFETCH(int, firstUsed);
        QFETCH(double, mhz);
        QFETCH(QString, firstPair);
        AfKit kit(afu, manual);
        kit.store->setModulatorCount(1);
        for (int channel = 1; channel <= firstUsed + 1; ++channel) {
            kit.store->setValue(QStringLiteral("channel.%1.idrds").arg(channel), kit.id);
            kit.store->setValue(QStringLiteral("channel.%1.used").arg(channel),
                                int(channel >= firstUsed));
            kit.store->setChannelFreq(channel, mhz + channel - firstUsed, channel >= firstUsed);
        }
        RdsFormKit::settle();
        kit.page->showSource(kit.id, kAfTab);
        RdsFormKit::settle();

        RDSSource sent = kit.store->rdsSource(kit.id);
        RdsEncoder::buildAfTables(sent, int(std::lround(mhz * 10)));
        QAbstractItemModel* pairs = kit.find<QTableView>("AFsend")->model();
        QCOMPARE(pairs->index(0, 0).data().toString() + QStringLiteral(" | ") +
                     pairs->index(0, 1).data().toString(),
                 firstPair);
        kit.click("AFbytes");
        QStringList shown;
        QStringList onAir;
        for (int row = 0; row < pairs->rowCount(); ++row)
            shown << pairs->index(row, 0).data().toString()
                  << pairs->index(row, 1).data().toString();
        for (quint16 pair : std::as_const(sent.codes)) {
            for (int code : {pair >> 8, pair & 0xFF})
                onAir << QStringLiteral("%1 = %2").arg(code).arg(code, 0, 16);
        }
        QCOMPARE(shown, onAir);
    }

    void automaticListAndTunedFrequency()
    {
        // Channels 1 and 2 carry the source: each is the other's AF.
        AfKit kit(kAfOn | kAfAuto | kAfMethodB);
        kit.store->setModulatorCount(1);
        for (const auto& [channel, mhz] : {std::pair{1, 95.8}, std::pair{2, 99.1}}) {
            kit.store->setValue(QStringLiteral("channel.%1.idrds").arg(channel), kit.id);
            kit.store->setChannelFreq(channel, mhz, true);
        }
        kit.store->updateAutoAF(true);
        RdsFormKit::settle();

        auto* automatic = kit.find<QTableView>("AFatab");
        QAbstractItemModel* list = automatic->model();
        QCOMPARE(list->rowCount(), 2);
        QCOMPARE(list->index(1, 0).data().toInt(), 2);
        QCOMPARE(list->index(1, 1).data().toString(), QStringLiteral("nein"));
        QCOMPARE(list->index(1, 2).data().toString(), QStringLiteral("99.1"));

        // The current row names the frequency the lists are sent on.
        QTest::mouseClick(automatic->viewport(), Qt::LeftButton, {},
                          automatic->visualRect(list->index(0, 0)).center());
        RdsFormKit::settle();
        auto* send = kit.find<QTableView>("AFsend");
        QAbstractItemModel* pairs = send->model();
        QCOMPARE(pairs->rowCount(), 2);
        QCOMPARE(pairs->index(0, 1).data().toString(), QStringLiteral("95.8"));
        QCOMPARE(pairs->index(1, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("F1 < F2"));

        // A double click on "Kanal" marks nothing; on "Regional" it does.
        kit.doubleClick(automatic, 1, 0);
        QCOMPARE(kit.key(QStringLiteral("afr")).toString(), QString());
        kit.doubleClick(automatic, 1, 1);
        QCOMPARE(kit.key(QStringLiteral("afr")).toString(), QStringLiteral("991"));
        QCOMPARE(list->index(1, 1).data().toString(), QStringLiteral("ja"));
        QCOMPARE(AfKit::cellColour(automatic, 1, 2), statusBlue);

        QTest::mouseClick(automatic->viewport(), Qt::LeftButton, {},
                          automatic->visualRect(list->index(0, 0)).center());
        RdsFormKit::settle();
        QCOMPARE(pairs->index(1, 0).data().toString(), QStringLiteral("99.1"));
        QCOMPARE(pairs->index(1, 0).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("F1 > F2 regional"));
    }

    void deleteSelectedRows()
    {
        AfKit kit(kAfOn | kAfManual, {876, 950, 16020, 1000});
        QTableWidget* table = kit.manual();
        table->setCurrentCell(1, 1);
        table->item(2, 1)->setSelected(true);
        kit.click("BdelAF");
        QCOMPARE(kit.afs(), QStringLiteral("876 1000"));
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(kit.cell(1, 1), QStringLiteral("100.0 MHz"));
    }

    void deleteWithoutSelectionKeepsTheList()
    {
        AfKit kit(kAfOn | kAfManual, {876, 950});
        kit.manual()->clearSelection();
        kit.recorder.clear();
        kit.click("BdelAF");
        QCOMPARE(kit.afs(), QStringLiteral("876 950"));
        QVERIFY(!kit.writtenFields().contains(QStringLiteral("afs")));
    }
};

QTEST_MAIN(TestTabRDSAF)
#include "tst_tabrdsaf.moc"
