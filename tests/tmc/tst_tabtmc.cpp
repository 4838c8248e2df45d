// The TMC page on a real store: sources, the group 3A form and the words it
// stores, the synchronisation of field keys and variant words, service keys,
// the country window and the message table, driven through the widgets.
#include "KeyRecorder.h"
#include "country/ECCSearch.h"
#include "gui/ModalQuestions.h"
#include "settings/FMSettings.h"
#include "tmc/page/TMCEventSearch.h"
#include "tmc/page/TMCEvtModel.h"
#include "tmc/page/TMCLabel.h"
#include "tmc/page/TMCLblModel.h"
#include "tmc/page/TMCMsgModel.h"
#include "tmc/page/TMCTable.h"
#include "tmc/page/TabTMC.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

const QString kSampleLists = QStringLiteral(TEST_DATA_DIR "/lists");

// The group 3A words of a source, as the store's setter takes them.
struct Words
{
    quint16 va0 = 0x0047;
    quint16 va1 = 0x400D;
    quint16 va2 = 0x80E0;
    quint8 flag = 9;
};

TMCMessage message(quint16 event)
{
    TMCMessage m;
    m.event = event;
    m.location = quint16(event + 1000);
    return m;
}

// Replaces the text of a line edit (or a spin box's) as the user does and
// finishes the edit with Return.
void typeInto(QWidget* widget, const QString& text)
{
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(widget, Qt::Key_Delete);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setCursorPosition(0);
    QTest::keyClicks(widget, text);
    QTest::keyClick(widget, Qt::Key_Return);
}

// A view takes a double click only on the cell that the press before it
// went to, as with a real mouse.
void doubleClickCell(QAbstractItemView* view, const QModelIndex& index)
{
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

void clickCheck(QAbstractButton* box)
{
    // On the indicator, which is inside the clickable part for every style.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// A project in a temporary folder with the given number of TMC sources made
// by the store, the page attached and shown, and a recorder on "tmc".
class TmcPageKit
{
public:
    explicit TmcPageKit(int sources = 1, const Words& words = Words())
    {
        ModalQuestions::setUnattended(true);
        ModalQuestions::clear();
        store = QSharedPointer<FMSettings>::create(dir.filePath(QStringLiteral("default.fm")));
        for (int n = 0; n < sources; ++n)
            store->newTMC();
        for (int id = 1; id <= sources; ++id) {
            TMCSource src = store->tmcSource(id);
            src.va0 = words.va0;
            src.va1 = words.va1;
            src.va2 = words.va2;
            src.flag = words.flag;
            store->setTMCFile(id, src);
        }
        page = std::make_unique<TabTMC>();
        page->setProgram(store);
        page->show();
        settle();
        store->subscribe(QStringLiteral("tmc"), &recorder);
    }

    ~TmcPageKit() { store->unsubscribeAll(&recorder); }

    // Lets the store's notifications reach the page and what the page wrote
    // in answer reach the recorder.
    void settle()
    {
        for (int round = 0; round < 6; ++round) {
            QCoreApplication::sendPostedEvents(nullptr, SetValue::kType);
            QCoreApplication::processEvents();
        }
        recorder.collect();
    }

    template <typename T> T* find(const char* name) const
    {
        T* widget = page->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }

    QTableWidget* sources() const { return find<QTableWidget>("sources"); }
    TMCTable* messages() const { return find<TMCTable>("messages"); }
    TMCMsgModel* messageModel() const { return messages()->messageModel(); }

    QList<int> rowIds() const
    {
        QList<int> ids;
        for (int row = 0; row < sources()->rowCount(); ++row)
            ids.append(sources()->item(row, 0)->data(Qt::UserRole).toInt());
        return ids;
    }

    int currentId() const
    {
        QTableWidgetItem* item = sources()->currentItem();
        return item ? item->data(Qt::UserRole).toInt() : 0;
    }

    QString key(int id, const QString& name) const
    {
        return store->value(QStringLiteral("tmc.%1/").arg(id) + name).toString();
    }

    // "va0=0x0147 ltn=5": each key of source id holds the value; a value
    // with "0x" is a number given in hexadecimal.
    void expectKeys(int id, const QString& expected) const
    {
        for (const QString& pair : expected.split(u' ', Qt::SkipEmptyParts)) {
            const QString name = pair.section(u'=', 0, 0);
            QString want = pair.section(u'=', 1);
            if (want.startsWith(QLatin1String("0x")))
                want = QString::number(want.mid(2).toUInt(nullptr, 16));
            QVERIFY2(
                key(id, name) == want,
                qPrintable(QStringLiteral("%1 is %2, expected %3").arg(name, key(id, name), want)));
        }
    }

    void clickCell(QAbstractItemView* view, int row, int column,
                   Qt::KeyboardModifiers modifiers = {}) const
    {
        const QRect cell = view->visualRect(view->model()->index(row, column));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, cell.center());
    }

    void addMessages(int id, int count)
    {
        for (int row = 0; row < count; ++row)
            store->setTMCMessage(id, row, message(quint16(101 + row)));
        settle();
        recorder.clear();
    }

    QTemporaryDir dir;
    QSharedPointer<FMSettings> store;
    KeyRecorder recorder;
    std::unique_ptr<TabTMC> page;
};

void copyLists(const QString& to)
{
    QVERIFY(QDir().mkpath(to));
    for (const QString& name : QDir(kSampleLists).entryList(QDir::Files))
        QVERIFY(QFile::copy(kSampleLists + u'/' + name, to + u'/' + name));
}

} // namespace

class TestTabTmc : public QObject
{
    Q_OBJECT

    QTemporaryDir work;
    QString startDir;

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        copyLists(work.filePath(QStringLiteral("lists")));
        startDir = QDir::currentPath();
        // The first message table reads the lists below the working folder.
        QDir::setCurrent(work.path());
    }
    void cleanupTestCase() { QDir::setCurrent(startDir); }

    void sourcesFillTheTableAndLoadTheLast()
    {
        TmcPageKit kit(3);
        QCOMPARE(kit.rowIds(), QList<int>({1, 2, 3}));
        for (int row = 0; row < 3; ++row)
            QCOMPARE(kit.sources()->item(row, 0)->toolTip(),
                     QStringLiteral("Name der %1. TMC Quelle").arg(row + 1));
        QCOMPARE(kit.currentId(), 3);
        QCOMPARE(kit.find<QLineEdit>("SPN")->text(), QStringLiteral("SPN-3"));
        QVERIFY(kit.find<QGroupBox>("gMessages")->isEnabled());
        QVERIFY(!kit.find<QGroupBox>("gEdit")->isEnabled());

        kit.page->showSource(1);
        QCOMPARE(kit.currentId(), 1);
        QCOMPARE(kit.page->shownSource(), 1);
        QCOMPARE(kit.find<QLineEdit>("SPN")->text(), QStringLiteral("SPN-1"));
        kit.page->showSource(9);
        QCOMPARE(kit.currentId(), 1);
    }

    // With every list in place the page has nothing to warn about.
    void noListsHintWithTheLists()
    {
        TmcPageKit kit(1);
        auto* hint = kit.find<QLabel>("listsHint");
        QVERIFY(hint);
        QVERIFY(!hint->isVisibleTo(kit.page.get()));
    }

    void pageDeletesItsCountryWindow()
    {
        const auto countryWindows = [] {
            int count = 0;
            for (QWidget* top : QApplication::topLevelWidgets())
                count += qobject_cast<ECCSearch*>(top) ? 1 : 0;
            return count;
        };
        const int before = countryWindows();
        {
            TmcPageKit kit(1);
            QCOMPARE(countryWindows(), before + 1);
        }
        QCOMPARE(countryWindows(), before);
    }

    void addedSourceBecomesCurrent()
    {
        TmcPageKit kit(3);
        QTest::mouseClick(kit.find<QPushButton>("Badd"), Qt::LeftButton);
        kit.settle();
        QCOMPARE(kit.rowIds(), QList<int>({1, 2, 3, 4}));
        QCOMPARE(kit.currentId(), 4);
        QCOMPARE(kit.find<QLineEdit>("SPN")->text(), QStringLiteral("SPN-4"));
    }

    void deletedSourceLeavesTheOthers()
    {
        TmcPageKit kit(3);
        kit.clickCell(kit.sources(), 1, 0);
        QCOMPARE(kit.currentId(), 2);
        QTest::mouseClick(kit.find<QPushButton>("Bdel"), Qt::LeftButton);
        kit.settle();
        QCOMPARE(kit.rowIds(), QList<int>({1, 3}));
        QCOMPARE(kit.currentId(), 3);
        QCOMPARE(kit.key(2, "used"), QStringLiteral("0"));
        QCOMPARE(ModalQuestions::asked(), QStringList());
    }

    void renamingWritesOnlyTheName()
    {
        TmcPageKit kit(2);
        QTableWidget* table = kit.sources();
        doubleClickCell(table, table->model()->index(0, 0));
        kit.settle();
        kit.recorder.clear();
        auto* editor = table->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("Verkehr Nord"));
        QTest::keyClick(editor, Qt::Key_Return);
        kit.settle();
        QCOMPARE(kit.recorder.keys(), QStringList({QStringLiteral("tmc.1/name")}));
        QCOMPARE(kit.key(1, "name"), QStringLiteral("Verkehr Nord"));
        QCOMPARE(kit.store->tmcSource(1).name, QStringLiteral("Verkehr Nord"));
    }

    void remoteRenameShowsInTheTable()
    {
        TmcPageKit kit(2);
        QCOMPARE(kit.store->set(QStringLiteral("tmc.1.name"), QStringLiteral("Ferne")), 0);
        kit.settle();
        QCOMPARE(kit.sources()->item(0, 0)->text(), QStringLiteral("Ferne"));
        QCOMPARE(kit.currentId(), 2);
    }

    void formEditsStoreTheWords_data()
    {
        QTest::addColumn<quint16>("va0");
        QTest::addColumn<quint16>("va1");
        QTest::addColumn<quint8>("flag");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");

        const quint16 mode = 0x0057; // va0 0x0047 with M set
        QTest::newRow("M set keeps the word of Ta, Tw, Td, writes no ltcc")
            << quint16(0x0047) << quint16(0x4035) << quint8(9) << "M"
            << ""
            << "va0=0x0057 va1=0x4035 ltcc=5";
        QTest::newRow("M cleared: LTCC into bits 3-0, Ta bits kept")
            << mode << quint16(0x4035) << quint8(9) << "M"
            << ""
            << "va0=0x0047 va1=0x4035 ltcc=5";
        QTest::newRow("Ta chosen with M set") << mode << quint16(0x4035) << quint8(9) << "ta"
                                              << "1s"
                                              << "va1=0x4005 ltcc=d";
        QTest::newRow("Td chosen with M set, ltcc left")
            << mode << quint16(0x4035) << quint8(9) << "td"
            << "0s"
            << "va1=0x4034 ltcc=d";
        QTest::newRow("LTCC typed keeps bits 5-4")
            << quint16(0x0047) << quint16(0x4035) << quint8(9) << "LTCC"
            << "a"
            << "va1=0x403A ltcc=a";
        QTest::newRow("FFFF in var0") << quint16(0x0047) << quint16(0x400D) << quint8(9) << "var0"
                                      << "FFFF"
                                      << "va0=0x3FFF ltn=63";
        QTest::newRow("0000 in var1") << quint16(0x0047) << quint16(0x400D) << quint8(9) << "var1"
                                      << "0000"
                                      << "va1=0x4000 sid=0";
        QTest::newRow("0000 in var2") << quint16(0x0047) << quint16(0x400D) << quint8(9) << "var2"
                                      << "0000"
                                      << "va2=0x8000 ltecc=00";
        QTest::newRow("0000 in var3") << quint16(0x0047) << quint16(0x400D) << quint8(9) << "var3"
                                      << "0000"
                                      << "va3=0xC000";
        QTest::newRow("encryption on") << quint16(0x0047) << quint16(0x400D) << quint8(9) << "gEnc"
                                       << ""
                                       << "flag=11";
        QTest::newRow("encryption off")
            << quint16(0x0047) << quint16(0x400D) << quint8(11) << "gEnc"
            << ""
            << "flag=9";
        QTest::newRow("service key on") << quint16(0x0047) << quint16(0x400D) << quint8(11) << "key"
                                        << ""
                                        << "flag=15";
        QTest::newRow("variant 0 off")
            << quint16(0x0047) << quint16(0x400D) << quint8(9) << "variant0"
            << ""
            << "flag=8";
        QTest::newRow("variant 2 on")
            << quint16(0x0047) << quint16(0x400D) << quint8(9) << "variant2"
            << ""
            << "flag=25";
        QTest::newRow("variant 3 on")
            << quint16(0x0047) << quint16(0x400D) << quint8(9) << "variant3"
            << ""
            << "flag=41";
        QTest::newRow("AID typed in lower case")
            << quint16(0x0047) << quint16(0x400D) << quint8(9) << "AID"
            << "cd47"
            << "aid=52551";
        QTest::newRow("AID not in the list")
            << quint16(0x0047) << quint16(0x400D) << quint8(9) << "AID"
            << "1a2b"
            << "aid=0x1A2B";
        QTest::newRow("LTN") << quint16(0x0047) << quint16(0x400D) << quint8(9) << "LTN"
                             << "12"
                             << "va0=0x0307 ltn=12";
        QTest::newRow("SID") << quint16(0x0047) << quint16(0x400D) << quint8(9) << "SID"
                             << "5"
                             << "va1=0x414D sid=5";
        QTest::newRow("GAP") << quint16(0x0047) << quint16(0x400D) << quint8(9) << "GAP"
                             << "8: max 76 G/min"
                             << "va1=0x600D";
        QTest::newRow("AFI") << quint16(0x0047) << quint16(0x400D) << quint8(9) << "AFI"
                             << ""
                             << "va0=0x0067";
        QTest::newRow("Urban off") << quint16(0x0047) << quint16(0x400D) << quint8(9) << "U"
                                   << ""
                                   << "va0=0x0046";
        QTest::newRow("LTECC") << quint16(0x0047) << quint16(0x400D) << quint8(9) << "LTECC"
                               << "e3"
                               << "va2=0x80E3 ltecc=e3";
        QTest::newRow("repeat") << quint16(0x0047) << quint16(0x400D) << quint8(9) << "repeat"
                                << "7"
                                << "rpt=7";
        QTest::newRow("SPN") << quint16(0x0047) << quint16(0x400D) << quint8(9) << "SPN"
                             << "Nordfunk"
                             << "spn=Nordfunk";
    }

    void formEditsStoreTheWords()
    {
        QFETCH(quint16, va0);
        QFETCH(quint16, va1);
        QFETCH(quint8, flag);
        QFETCH(QString, widget);
        QFETCH(QString, input);
        QFETCH(QString, expected);

        TmcPageKit kit(1, Words{va0, va1, 0x80E0, flag});
        QWidget* target = kit.find<QWidget>(qPrintable(widget));
        QVERIFY(target->isEnabled());
        if (auto* group = qobject_cast<QGroupBox*>(target)) {
            group->setFocus();
            QTest::keyClick(group, Qt::Key_Space);
        } else if (auto* box = qobject_cast<QAbstractButton*>(target)) {
            clickCheck(box);
        } else if (auto* combo = qobject_cast<QComboBox*>(target); combo && !combo->isEditable()) {
            const int wanted = combo->findText(input);
            QVERIFY(wanted >= 0);
            combo->setFocus();
            const Qt::Key step = wanted < combo->currentIndex() ? Qt::Key_Up : Qt::Key_Down;
            while (combo->currentIndex() != wanted)
                QTest::keyClick(combo, step);
        } else if (auto* editable = qobject_cast<QComboBox*>(target)) {
            typeInto(editable->lineEdit(), input);
        } else {
            typeInto(target, input);
        }
        kit.settle();
        kit.expectKeys(1, expected);
    }

    void modeSwitchesTheFieldsOnceStored()
    {
        TmcPageKit kit(1);
        auto* mode = kit.find<QCheckBox>("M");
        const QList<QWidget*> times = {kit.find<QWidget>("ta"), kit.find<QWidget>("tw"),
                                       kit.find<QWidget>("td")};
        auto* ltcc = kit.find<QSpinBox>("LTCC");
        for (const bool set : {true, false}) {
            clickCheck(mode);
            kit.settle();
            QCOMPARE(mode->isChecked(), set);
            for (QWidget* time : times)
                QCOMPARE(time->isEnabled(), set);
            QCOMPARE(ltcc->isEnabled(), !set);
        }
    }

    void remoteWritesKeepFieldsAndWordsInStep_data()
    {
        QTest::addColumn<quint16>("va0");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("shown");

        QTest::newRow("ltn into va0") << quint16(0x0047) << "ltn"
                                      << "5"
                                      << "va0=0x0147"
                                      << "LTN"
                                      << "5";
        QTest::newRow("sid into va1") << quint16(0x0047) << "sid"
                                      << "7"
                                      << "va1=0x41CD"
                                      << "var1"
                                      << "41CD";
        QTest::newRow("ltcc into va1") << quint16(0x0047) << "ltcc"
                                       << "3"
                                       << "va1=0x4003"
                                       << "LTCC"
                                       << "3";
        QTest::newRow("ltecc into va2") << quint16(0x0047) << "ltecc"
                                        << "e1"
                                        << "va2=0x80E1"
                                        << "LTECC"
                                        << "E1";
        QTest::newRow("va0 into ltn") << quint16(0x0047) << "va0"
                                      << "1863"
                                      << "ltn=29"
                                      << "LTN"
                                      << "29";
        QTest::newRow("va1 into sid and ltcc") << quint16(0x0047) << "va1"
                                               << "16593"
                                               << "sid=3 ltcc=1"
                                               << "SID"
                                               << "3";
        QTest::newRow("va1 with M set: sid, no ltcc") << quint16(0x0057) << "va1"
                                                      << "16593"
                                                      << "sid=3 ltcc=d"
                                                      << "SID"
                                                      << "3";
        QTest::newRow("va2 into ltecc") << quint16(0x0047) << "va2"
                                        << "33000"
                                        << "ltecc=e8"
                                        << "var2"
                                        << "80E8";
        QTest::newRow("unreadable va2 writes nothing") << quint16(0x0047) << "va2"
                                                       << "12.5"
                                                       << "ltecc=e0"
                                                       << ""
                                                       << "";
        QTest::newRow("unreadable va0 writes nothing") << quint16(0x0047) << "va0"
                                                       << "1e3"
                                                       << "ltn=1"
                                                       << ""
                                                       << "";
    }

    void remoteWritesKeepFieldsAndWordsInStep()
    {
        QFETCH(quint16, va0);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        QFETCH(QString, widget);
        QFETCH(QString, shown);

        TmcPageKit kit(1, Words{va0, 0x400D, 0x80E0, 9});
        QCOMPARE(kit.store->set(QStringLiteral("tmc.1.") + key, value), 0);
        kit.settle();
        kit.expectKeys(1, expected);
        if (widget.isEmpty())
            return;
        QWidget* field = kit.find<QWidget>(qPrintable(widget));
        if (auto* box = qobject_cast<QAbstractSpinBox*>(field))
            QCOMPARE(box->text(), shown);
        else
            QCOMPARE(qobject_cast<QLineEdit*>(field)->text(), shown);
    }

    void anotherSourcesModeLeavesTheShownLtcc()
    {
        TmcPageKit kit(2);
        QCOMPARE(kit.currentId(), 2);
        QCOMPARE(kit.store->set(QStringLiteral("tmc.1.va0"), QStringLiteral("87")), 0);
        kit.settle();
        QVERIFY(kit.find<QSpinBox>("LTCC")->isEnabled());
        kit.expectKeys(1, "ltn=1");
    }

    void serviceKeysAreTypedPerEncid()
    {
        TmcPageKit kit(1, Words{0x0047, 0x400D, 0x80E0, 11});
        auto* key = kit.find<QCheckBox>("key");
        const QList<QSpinBox*> fields = {kit.find<QSpinBox>("rotate"), kit.find<QSpinBox>("shift"),
                                         kit.find<QSpinBox>("axor")};
        for (QSpinBox* field : fields)
            QVERIFY(!field->isEnabled());
        clickCheck(key);
        kit.settle();
        kit.expectKeys(1, "flag=15");
        for (QSpinBox* field : fields)
            QVERIFY(field->isEnabled());

        typeInto(kit.find<QSpinBox>("encid"), QStringLiteral("5"));
        typeInto(fields[0], QStringLiteral("3"));
        typeInto(fields[1], QStringLiteral("2"));
        typeInto(fields[2], QStringLiteral("69"));
        kit.settle();
        QStringList words(32, QStringLiteral("0"));
        words[5] = QStringLiteral("3245");
        kit.expectKeys(1, "enc=5");
        QCOMPARE(kit.key(1, "skt"), words.join(u' '));
        QCOMPARE(kit.store->tmcSource(1).skt[5], quint16(0x3245));
    }

    void encidShowsItsKey()
    {
        TmcPageKit kit(2, Words{0x0047, 0x400D, 0x80E0, 15});
        kit.store->setTMCWord(2, 7, 0x1234);
        kit.settle();
        typeInto(kit.find<QSpinBox>("encid"), QStringLiteral("7"));
        kit.settle();
        QCOMPARE(kit.find<QSpinBox>("rotate")->value(), 1);
        QCOMPARE(kit.find<QSpinBox>("shift")->value(), 2);
        QCOMPARE(kit.find<QSpinBox>("axor")->value(), 0x34);
        QCOMPARE(kit.key(2, "enc"), QStringLiteral("7"));

        // ENCID 32 comes only from a file or a raw write; the fields stay.
        kit.store->setValue(QStringLiteral("tmc.1/enc"), 32, false);
        kit.store->loadTMC(1);
        kit.page->showSource(1);
        kit.settle();
        QCOMPARE(kit.currentId(), 1);
        QCOMPARE(kit.find<QSpinBox>("rotate")->value(), 1);
        QCOMPARE(kit.find<QSpinBox>("shift")->value(), 2);
        QCOMPARE(kit.find<QSpinBox>("axor")->value(), 0x34);
    }

    void countryWindowSetsTheCountryCodes_data()
    {
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("ltccWrites");

        QTest::newRow("Germany holds the LTCC digit D") << "Deutschland"
                                                        << "ltcc=d ltecc=e0" << 0;
        QTest::newRow("France: F replaces D") << "Frankreich"
                                              << "ltcc=f ltecc=e1" << 1;
    }

    void countryWindowSetsTheCountryCodes()
    {
        QFETCH(QString, country);
        QFETCH(QString, expected);
        QFETCH(int, ltccWrites);

        TmcPageKit kit(1, Words{0x0047, 0x400D, 0x8000, 9});
        QTest::mouseClick(kit.find<QToolButton>("BECC"), Qt::LeftButton);
        ECCSearch* search = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<ECCSearch*>(top); window && window->isVisible())
                search = window;
        }
        QVERIFY(search);
        typeInto(search->findChild<QLineEdit*>(QStringLiteral("text")), country);
        auto* list = search->findChild<QTableView*>(QStringLiteral("list"));
        QCOMPARE(list->model()->rowCount(), 1);
        doubleClickCell(list, list->model()->index(0, 0));
        kit.settle();
        kit.expectKeys(1, expected);
        QCOMPARE(kit.recorder.count(QStringLiteral("tmc.1/ltecc")), 1);
        QCOMPARE(kit.recorder.count(QStringLiteral("tmc.1/ltcc")), ltccWrites);
        search->hide();
    }

    void addingAMessageWritesTheNextLine()
    {
        TmcPageKit kit(1);
        kit.addMessages(1, 2);
        QCOMPARE(kit.messageModel()->rowCount(), 2);
        QTest::mouseClick(kit.find<QPushButton>("BaddMsg"), Qt::LeftButton);
        kit.settle();
        QCOMPARE(kit.recorder.keys(), QStringList({QStringLiteral("tmc.1/2")}));
        QCOMPARE(kit.key(1, "2"), QStringLiteral("0 0 0 0 0"));
        QCOMPARE(kit.store->tmcSource(1).messages.size(), 3);
    }

    void deletingMessagesAsksAndRenumbers_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QList<int>>("events");

        QTest::newRow("Yes") << int(QMessageBox::Yes) << QList<int>({101, 103, 105});
        QTest::newRow("No") << int(QMessageBox::No) << QList<int>({101, 102, 103, 104, 105});
    }

    void deletingMessagesAsksAndRenumbers()
    {
        QFETCH(int, answer);
        QFETCH(QList<int>, events);

        TmcPageKit kit(1);
        kit.addMessages(1, 5);
        TMCTable* table = kit.messages();
        kit.clickCell(table, 1, 1);
        kit.clickCell(table, 3, 1, Qt::ControlModifier);
        ModalQuestions::setNextAnswer(QMessageBox::StandardButton(answer));
        QTest::mouseClick(kit.find<QPushButton>("BdelMsg"), Qt::LeftButton);
        kit.settle();
        QCOMPARE(ModalQuestions::askedTexts(),
                 QStringList({QStringLiteral("2 Meldungen löschen?")}));
        QCOMPARE(ModalQuestions::unanswered(), 0);

        QList<int> stored;
        for (int row = 0; kit.store->contains(QStringLiteral("tmc.1/%1").arg(row)); ++row)
            stored.append(kit.key(1, QString::number(row)).section(u' ', 2, 2).toInt());
        QCOMPARE(stored, events);
        QCOMPARE(kit.messageModel()->rowCount(), events.size());
        QCOMPARE(kit.store->tmcSource(1).messages.size(), events.size());
        if (answer == QMessageBox::No) {
            QCOMPARE(kit.recorder.keys(), QStringList());
            return;
        }
        // Rows 1 and 2 changed; row 0 was rewritten unchanged, so unannounced.
        // The removal of the last lines is announced on the source last.
        QCOMPARE(kit.recorder.keys(),
                 QStringList({QStringLiteral("tmc.1/1"), QStringLiteral("tmc.1/2"),
                              QStringLiteral("tmc.1")}));
        // The last message is shown and current, so edits go where they show.
        QCOMPARE(kit.messageModel()->current(), 2);
        QCOMPARE(table->currentIndex().row(), 2);
        typeInto(kit.find<QSpinBox>("duration"), QStringLiteral("4"));
        kit.settle();
        QCOMPARE(kit.key(1, "2").section(u' ', 0, 2), QStringLiteral("4 0 105"));
    }

    void oneMessageIsDeletedWithoutAQuestion()
    {
        TmcPageKit kit(1);
        kit.addMessages(1, 3);
        kit.clickCell(kit.messages(), 2, 1);
        QTest::mouseClick(kit.find<QPushButton>("BdelMsg"), Qt::LeftButton);
        kit.settle();
        QCOMPARE(ModalQuestions::asked(), QStringList());
        QCOMPARE(kit.store->tmcSource(1).messages.size(), 2);
        QVERIFY(!kit.store->contains(QStringLiteral("tmc.1/2")));
    }

    void messageEditsWriteTheLine_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("line");

        QTest::newRow("duration") << "duration"
                                  << "3"
                                  << "3 0 102 1102 0";
        QTest::newRow("extent") << "extent"
                                << "5"
                                << "0 5 102 1102 0";
        QTest::newRow("direction") << "direction"
                                   << ""
                                   << "0 8 102 1102 0";
        QTest::newRow("diversion") << "diversion"
                                   << ""
                                   << "0 16 102 1102 0";
    }

    void messageEditsWriteTheLine()
    {
        QFETCH(QString, widget);
        QFETCH(QString, input);
        QFETCH(QString, line);

        TmcPageKit kit(1);
        kit.addMessages(1, 3);
        kit.clickCell(kit.messages(), 1, 1);
        QVERIFY(kit.find<QGroupBox>("gEdit")->isEnabled());
        QWidget* target = kit.find<QWidget>(qPrintable(widget));
        if (auto* box = qobject_cast<QAbstractButton*>(target))
            clickCheck(box);
        else
            typeInto(target, input);
        kit.settle();
        QCOMPARE(kit.key(1, "1"), line);
        QCOMPARE(kit.key(1, "0"), QStringLiteral("0 0 101 1101 0"));
    }

    void labelsDisableDurationAndDiversion()
    {
        TmcPageKit kit(1);
        kit.addMessages(1, 1);
        kit.clickCell(kit.messages(), 0, 1);
        auto* duration = kit.find<QSpinBox>("duration");
        auto* diversion = kit.find<QCheckBox>("diversion");
        QVERIFY(duration->isEnabled() && diversion->isEnabled());

        QTest::mouseClick(kit.find<QPushButton>("BaddInfo"), Qt::LeftButton);
        QVERIFY(!duration->isEnabled() && !diversion->isEnabled());
        auto* labels = kit.find<TMCLabel>("labels");
        labels->labelModel()->setData(labels->model()->index(0, 1), 2, Qt::EditRole);
        kit.settle();
        QCOMPARE(kit.store->tmcSource(1).messages.at(0).labels.size(), 1);

        kit.clickCell(labels, 0, 0);
        QTest::mouseClick(kit.find<QPushButton>("BdelInfo"), Qt::LeftButton);
        kit.settle();
        QVERIFY(duration->isEnabled() && diversion->isEnabled());
        QCOMPARE(kit.key(1, "0"), QStringLiteral("0 0 101 1101 0"));
    }

    void doubleClicksCycleTheSendState()
    {
        TmcPageKit kit(1);
        kit.addMessages(1, 2);
        const QModelIndex send = kit.messageModel()->index(1, TMCMsgModel::SendColumn);
        for (const char* state : {"1", "2", "0"}) {
            doubleClickCell(kit.messages(), send);
            kit.settle();
            QCOMPARE(kit.key(1, "1").section(u' ', 4, 4), QLatin1String(state));
        }
        QCOMPARE(kit.key(1, "0"), QStringLiteral("0 0 101 1101 0"));
    }

    void deletingSeveralLabelsAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("line");

        QTest::newRow("Yes") << int(QMessageBox::Yes) << "0 0 101 1101 0";
        QTest::newRow("No") << int(QMessageBox::No) << "0 0 101 1101 0 65537 65538";
    }

    void deletingSeveralLabelsAsks()
    {
        QFETCH(int, answer);
        QFETCH(QString, line);

        TmcPageKit kit(1);
        TMCMessage withLabels = message(101);
        withLabels.labels = {TMCLblModel::makeLabel(1, 1), TMCLblModel::makeLabel(1, 2)};
        kit.store->setTMCMessage(1, 0, withLabels);
        kit.settle();
        kit.clickCell(kit.messages(), 0, 1);
        auto* labels = kit.find<TMCLabel>("labels");
        QCOMPARE(labels->model()->rowCount(), 2);
        kit.clickCell(labels, 0, 0);
        kit.clickCell(labels, 1, 0, Qt::ControlModifier);
        ModalQuestions::setNextAnswer(QMessageBox::StandardButton(answer));
        QTest::mouseClick(kit.find<QPushButton>("BdelInfo"), Qt::LeftButton);
        kit.settle();
        QCOMPARE(ModalQuestions::askedTexts(), QStringList({QStringLiteral("2 Labels löschen?")}));
        QCOMPARE(kit.key(1, "0"), line);
        QCOMPARE(kit.find<QSpinBox>("duration")->isEnabled(), answer == QMessageBox::Yes);
    }

    void droppedCodeMakesItsRowCurrent()
    {
        TmcPageKit kit(1);
        kit.addMessages(1, 3);
        kit.clickCell(kit.messages(), 0, 1);
        TMCEventSearch* search = kit.messages()->eventSearch();
        search->findChild<QLineEdit*>(QStringLiteral("text"))->setText(QStringLiteral("Schlange"));
        QTest::mouseClick(search->findChild<QPushButton*>(QStringLiteral("search")),
                          Qt::LeftButton);
        TMCEvtModel* results = search->resultModel();
        QVERIFY(results->rowCount() > 0);
        const quint16 code = quint16(results->data(results->index(0, 0)).toUInt());
        std::unique_ptr<QMimeData> drag(results->mimeData({results->index(0, 0)}));
        TMCMsgModel* model = kit.messageModel();
        QVERIFY(model->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, model->index(2, 1)));
        kit.settle();
        QCOMPARE(kit.key(1, "2").section(u' ', 2, 2).toInt(), int(code));
        QCOMPARE(model->current(), 2);

        clickCheck(kit.find<QCheckBox>("direction"));
        kit.settle();
        QCOMPARE(kit.key(1, "2").section(u' ', 1, 1), QStringLiteral("8"));
        QCOMPARE(kit.key(1, "0"), QStringLiteral("0 0 101 1101 0"));
    }
};

QTEST_MAIN(TestTabTmc)
#include "tst_tabtmc.moc"
