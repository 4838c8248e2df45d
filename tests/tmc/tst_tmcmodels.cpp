// Message table, label table and search windows of the TMC page, on lists
// made at test time in a temporary working directory.
#include "gui/UiGerman.h"
#include "tmc/TMCReferenceLists.h"
#include "tmc/page/TMCEdit.h"
#include "tmc/page/TMCEventSearch.h"
#include "tmc/page/TMCEvtModel.h"
#include "tmc/page/TMCLabelNames.h"
#include "tmc/page/TMCLblModel.h"
#include "tmc/page/TMCLocModel.h"
#include "tmc/page/TMCMsgModel.h"
#include "tmc/page/TMCPlaceSearch.h"
#include "tmc/page/TMCTable.h"

#include <QBrush>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <utility>

namespace {

const QString kSampleLists = QStringLiteral(TEST_DATA_DIR "/lists");
constexpr int kManyLocations = 10050;

// Event list in the Latin-1 of the published lists: row;English;German;
// a;b;c;code;N;Q;T;D;U;C;references. The sample forecast list adds 105.
const char* const kEvents[] = {
    "Zeile;English;Deutsch;a;b;c;Code;N;Q;T;D;U;C;Ref",
    "1;traffic jam;Stau;;;;101;F;0;L;1;X;5;",
    "2;queue;Schlange;;;;102;;2;(D);1;;1;",
    "3;dense fog;dichter Nebel;;;;103;;8;D;2;U;6;",
    "4;road closed;Stra\xdf"
    "e gesperrt;;;;104;;;L;1;;2;",
    "5;silent clear;still aufgehoben;;;;108;S;;;1;;1;",
    "6;heavy rain;\xdc"
    "berflutung;;;;106;F;;D;1;;6;",
};

QDate fixedToday()
{
    return QDate(2026, 12, 10); // a Thursday in December
}

void writeLists(const QString& dir)
{
    QFile events(dir + QStringLiteral("/ECL401.csv"));
    QVERIFY(events.open(QIODevice::WriteOnly));
    for (const char* line : kEvents)
        events.write(QByteArray(line) + "\r\n");
    events.close();
    for (const char* name : {"forecast.csv", "suppinfo.csv"})
        QVERIFY(QFile::copy(kSampleLists + u'/' + QLatin1String(name),
                            dir + u'/' + QLatin1String(name)));
    QFile places(dir + QStringLiteral("/LCL9.csv"));
    QVERIFY(places.open(QIODevice::WriteOnly));
    places.write("LOCATIONCODE;CID;TABCD;CLASS;TCD;STCD;FIRST;SECOND;ROAD;X;Y\r\n");
    places.write("7;1;2;A;Autobahn;7;Bonn;Koeln;A555;x;y\r\n");
    places.write("8;1;2;A;Autobahn;7;Bonn;Siegburg;A560;\r\n");
    places.write("9;1;2;A;Autobahn;7;Koeln;Aachen;A4;\r\n");
    for (int code = 100; code < 100 + kManyLocations; ++code)
        places.write(QByteArray("%1;1;2;P;Ort;1;Stadt;Land;L1;\r\n")
                         .replace("%1", QByteArray::number(code)));
}

// The code cell of the first result row, dragged the way a view does it.
std::unique_ptr<QMimeData> dragCode(QAbstractItemModel& from, int row)
{
    return std::unique_ptr<QMimeData>(from.mimeData({from.index(row, 0)}));
}

QList<TMCMessage> threeMessages()
{
    QList<TMCMessage> list(3);
    for (int i = 0; i < 3; ++i) {
        list[i].event = quint16(101 + i);
        list[i].location = quint16(7 + i);
        list[i].labels = {TMCLblModel::makeLabel(1, quint32(i))};
    }
    return list;
}

} // namespace

class TestTmcModels : public QObject
{
    Q_OBJECT

    QTemporaryDir work;
    QString startDir;
    TMCTable* table = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        QVERIFY(QDir(work.path()).mkdir(QStringLiteral("lists")));
        writeLists(work.filePath(QStringLiteral("lists")));
        startDir = QDir::currentPath();
        QDir::setCurrent(work.path());
        TMCLblModel::setTodayFunction(&fixedToday);
        table = new TMCTable();
    }
    void cleanupTestCase()
    {
        delete table;
        QDir::setCurrent(startDir);
    }

    void listsAreLoadedOnceByTheFirstTable()
    {
        QCOMPARE(TMCReferenceLists::instance().events.size(), 7);
        QCOMPARE(TMCReferenceLists::instance().locations.size(), kManyLocations + 3);
        QCOMPARE(table->menu()->actions().size(), 3); // two searches, separator
        TMCTable second;
        QCOMPARE(TMCReferenceLists::instance().events.size(), 7);
        QVERIFY(second.eventSearch() != table->eventSearch());
        QVERIFY(!table->eventSearch()->parent());
    }

    // --- message model ---------------------------------------------------

    void sendStateCycles()
    {
        TMCMsgModel model;
        TMCMessage odd;
        odd.send = 3; // hand-edited file
        model.addMessage(odd);
        QCOMPARE(model.index(0, 0).data().toString(), QString("???"));
        QSignalSpy changed(&model, &TMCMsgModel::messageChanged);
        const QStringList expected = {"ja", "aufheben", "nein", "ja"};
        for (const QString& text : expected) {
            model.toggleSend(0);
            QCOMPARE(model.index(0, 0).data().toString(), text);
        }
        QCOMPARE(changed.size(), 4);
        QCOMPARE(changed.last().at(1).value<TMCMessage>().send, quint8(1));
    }

    void doubleClickOnSendColumnToggles()
    {
        TMCTable view;
        view.messageModel()->addMessage(TMCMessage());
        view.doubleClicked(view.model()->index(0, 0));
        QCOMPARE(view.messageModel()->message(0).send, quint8(TMCMessage::Yes));
        view.doubleClicked(view.model()->index(0, 1));
        QCOMPARE(view.messageModel()->message(0).send, quint8(TMCMessage::Yes));
    }

    void setData_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("role");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("location");
        const int edit = Qt::EditRole;
        const int display = Qt::DisplayRole;
        QTest::newRow("edit event") << 1 << edit << QVariant(2047) << true << 2047 << 0;
        QTest::newRow("edit location") << 2 << edit << QVariant(65535) << true << 0 << 65535;
        QTest::newRow("event cut to 11 bits") << 1 << edit << QVariant(2048 + 5) << true << 5 << 0;
        QTest::newRow("dropped 65536 is 0") << 2 << display << QVariant(65536) << true << 0 << 0;
        QTest::newRow("not a number") << 1 << edit << QVariant("x1") << false << 0 << 0;
        QTest::newRow("drop on send") << 0 << display << QVariant(1) << false << 0 << 0;
        QTest::newRow("tool tip role")
            << 1 << int(Qt::ToolTipRole) << QVariant(3) << false << 0 << 0;
        QTest::newRow("no such column") << 3 << edit << QVariant(3) << false << 0 << 0;
    }
    void setData()
    {
        QFETCH(int, column);
        QFETCH(int, role);
        QFETCH(QVariant, value);
        QFETCH(bool, accepted);
        QFETCH(int, event);
        QFETCH(int, location);
        TMCMsgModel model;
        model.addMessage(TMCMessage());
        QSignalSpy changed(&model, &TMCMsgModel::messageChanged);
        QCOMPARE(model.setData(model.index(0, column), value, role), accepted);
        QCOMPARE(changed.size(), accepted ? 1 : 0);
        QCOMPARE(int(model.message(0).event), event);
        QCOMPARE(int(model.message(0).location), location);
        QVERIFY(!model.setData(model.index(1, 1), 5, Qt::EditRole));
    }

    void editorLimits_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("maximum");
        QTest::newRow("send") << 0 << 2;
        QTest::newRow("event") << 1 << 2047;
        QTest::newRow("location") << 2 << 65535;
    }
    void editorLimits()
    {
        QFETCH(int, column);
        QFETCH(int, maximum);
        TMCMsgModel model;
        TMCMessage m;
        m.event = 300;
        m.location = 400;
        model.addMessage(m);
        TMCEdit edit;
        QWidget parent;
        auto* box = qobject_cast<QSpinBox*>(
            edit.createEditor(&parent, QStyleOptionViewItem(), model.index(0, column)));
        QVERIFY(box);
        QCOMPARE(box->maximum(), maximum);
        edit.setEditorData(box, model.index(0, column));
        QCOMPARE(box->value(), column == 0 ? 0 : column == 1 ? 300 : 400);
        box->setValue(maximum + 1);
        QCOMPARE(box->value(), maximum);
    }

    void dropsFromTheSearchWindows()
    {
        TMCEventSearch* events = table->eventSearch();
        events->findChild<QLineEdit*>("text")->setText("104");
        QTest::mouseClick(events->findChild<QPushButton*>("search"), Qt::LeftButton);
        TMCPlaceSearch* places = table->placeSearch();
        places->findChild<QLineEdit*>("text")->setText("siegburg");
        QTest::mouseClick(places->findChild<QPushButton*>("search"), Qt::LeftButton);

        TMCMsgModel model;
        model.addMessage(TMCMessage());
        QSignalSpy changed(&model, &TMCMsgModel::messageChanged);
        auto event = dragCode(*events->resultModel(), 0);
        QVERIFY(model.dropMimeData(event.get(), Qt::CopyAction, -1, -1, model.index(0, 1)));
        auto place = dragCode(*places->resultModel(), 0);
        QVERIFY(model.dropMimeData(place.get(), Qt::CopyAction, -1, -1, model.index(0, 2)));
        QCOMPARE(model.message(0).event, quint16(104));
        QCOMPARE(model.message(0).location, quint16(8));
        QCOMPARE(changed.size(), 2);
        model.dropMimeData(event.get(), Qt::CopyAction, -1, -1, model.index(0, 0));
        QCOMPARE(model.message(0).send, quint8(0));
        QCOMPARE(changed.size(), 2);
    }

    void setMessagesTellsOnlyChanges()
    {
        TMCMsgModel model;
        model.setMessages(threeMessages());
        QSignalSpy data(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        model.setMessages(threeMessages());
        QCOMPARE(data.size() + inserted.size() + removed.size(), 0);
        QList<TMCMessage> changed = threeMessages();
        changed[1].labels.append(TMCLblModel::makeLabel(14, 0));
        model.setMessages(changed);
        QCOMPARE(data.size(), 1);
        QCOMPARE(data.at(0).at(0).toModelIndex().row(), 1);
        QCOMPARE(data.at(0).at(1).toModelIndex(), model.index(1, 2));
        model.setMessages(changed.mid(0, 1));
        QCOMPARE(removed.size(), 1);
        QCOMPARE(model.rowCount(), 1);
        model.setMessages(changed);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(model.messages(), changed);
    }

    void removeMessagesFromTheEnd()
    {
        TMCMsgModel model;
        model.setMessages(threeMessages());
        QCOMPARE(model.removeMessage({0, 2, 7}), 2);
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.message(0).event, quint16(102));
        QCOMPARE(model.message(5).event, quint16(0));
        model.setLabels(5, {1});
        model.setFlags(0, 5, 17);
        QCOMPARE(model.message(0).duration, quint8(5));
        QCOMPARE(model.message(0).extentFlags, quint8(17));
    }

    // --- label model -------------------------------------------------------

    void labelChecks_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<QList<quint32>>("labels");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("messages");
        auto l = [](int n, int v) { return TMCLblModel::makeLabel(n, quint32(v)); };
        QTest::newRow("duration 0")
            << 101 << QList<quint32>{l(0, 0)} << 0 << QStringList{"Dauer 0 unzulässig"};
        QTest::newRow("two durations") << 101 << QList<quint32>{l(0, 1), l(0, 2)} << 1
                                       << QStringList{"Label nur einmal erlaubt"};
        QTest::newRow("control codes 3 and 11 clash")
            << 101 << QList<quint32>{l(1, 3), l(1, 11)} << 1
            << QStringList{"Jeder Code nur einmal erlaubt"};
        QTest::newRow("second speed limit") << 101 << QList<quint32>{l(3, 1), l(3, 2)} << 1
                                            << QStringList{"Separator erforderlich"};
        QTest::newRow("speed limit after separator")
            << 101 << QList<quint32>{l(3, 1), l(14, 0), l(3, 2)} << 2 << QStringList{};
        QTest::newRow("5-bit quantifier on type 8")
            << 103 << QList<quint32>{l(4, 1)} << 0
            << QStringList{"Quantifier hat falsche Bitbreite"};
        QTest::newRow("5-bit quantifier after an event of type 2")
            << 103 << QList<quint32>{l(9, 102), l(4, 1)} << 1 << QStringList{};
        QTest::newRow("8-bit quantifier without quantifier")
            << 104 << QList<quint32>{l(5, 1)} << 0 << QStringList{"Ereignis hat keinen Quantifier"};
        QTest::newRow("silent additional event")
            << 101 << QList<quint32>{l(9, 108)} << 0 << QStringList{"Stille Meldung unzulässig"};
        QTest::newRow("both reasons, last found first")
            << 101 << QList<quint32>{l(0, 1), l(0, 0)} << 1
            << QStringList{"Dauer 0 unzulässig", "Label nur einmal erlaubt"};
    }
    void labelChecks()
    {
        QFETCH(int, event);
        QFETCH(QList<quint32>, labels);
        QFETCH(int, row);
        QFETCH(QStringList, messages);
        TMCLblModel model;
        model.setLabels(labels, quint16(event));
        QCOMPARE(model.messages(row), messages);
        const QVariant background = model.index(row, 1).data(Qt::BackgroundRole);
        if (messages.isEmpty()) {
            QVERIFY(!background.isValid());
        } else {
            // A value beyond its label's width outranks the rule's yellow.
            const quint32 label = labels.at(row);
            const bool tooLarge = TMCLblModel::labelValue(label) >
                                  TMCLabelNames::maximum(TMCLblModel::labelNumber(label));
            QCOMPARE(background.value<QBrush>().color(), QColor(tooLarge ? Qt::red : Qt::yellow));
            QVERIFY(model.index(row, 0)
                        .data(Qt::ToolTipRole)
                        .toString()
                        .startsWith(messages.first() + u'\n'));
        }
    }

    void labelsWithinFourGroups()
    {
        TMCLblModel model;
        model.setLabels({}, 101);
        QCOMPARE(model.lastRowWithinLimit(), TMCLblModel::kAllFit);
        // Twelve speed limits of 9 bits each: 108 bits, four groups.
        model.setLabels(QList<quint32>(12, TMCLblModel::makeLabel(3, 4)), 101);
        QCOMPARE(model.lastRowWithinLimit(), TMCLblModel::kAllFit);
        QCOMPARE(model.groups().size(), 4);
        QCOMPARE(model.messages(11), QStringList{"Separator erforderlich"});
        QVERIFY(model.messages(0).isEmpty());
        // Destinations take 20 bits: the sixth ends at 120 bits and is the
        // first one the encoder leaves out, and so are all after it.
        QList<quint32> destinations;
        for (int i = 0; i < 7; ++i)
            destinations.append(TMCLblModel::makeLabel(11, quint32(7 + i)));
        destinations.insert(6, TMCLblModel::makeLabel(14, 0));
        model.setLabels(destinations, 101);
        QCOMPARE(model.lastRowWithinLimit(), 4);
        for (int row = 0; row < destinations.size(); ++row) {
            const QVariant background = model.index(row, 0).data(Qt::BackgroundRole);
            QCOMPARE(background.isValid(), row > 4);
        }
        QCOMPARE(model.index(6, 1).data(Qt::ToolTipRole).toString(),
                 QString("Limit für 4 Gruppen überschritten (max. 4*28 Bits)"));
    }

    void durationOutOfRange()
    {
        TMCLblModel model;
        model.setLabels({TMCLblModel::makeLabel(0, 9)}, 101);
        QCOMPARE(model.index(0, 1).data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(Qt::red));
        QVERIFY(model.index(0, 1)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .startsWith("Out of range [0..7]\n9: "));
        // Label 0 and the low 3 bits of 9, at the top of the group.
        QCOMPARE(model.groups(), QList<quint32>{quint32(0x01) << 21});
    }

    void valueTexts_data()
    {
        QTest::addColumn<int>("label");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("route over 100 km") << 2 << 0 << "0: über 100 km";
        QTest::newRow("route 2 km steps") << 2 << 12 << "12: 14 km";
        QTest::newRow("route 5 km steps") << 2 << 31 << "31: 100 km";
        QTest::newRow("speed") << 3 << 16 << "16: 80 km/h";
        QTest::newRow("speed out of range") << 3 << 32 << "32";
        QTest::newRow("control code") << 1 << 5 << "5: diversion bit set";
        QTest::newRow("quarter hours") << 7 << 95 << "95: 23:45";
        QTest::newRow("tomorrow") << 7 << 96 << "96: Friday 00:00";
        QTest::newRow("day this month") << 8 << 211 << "211: 11. December";
        QTest::newRow("day next month") << 8 << 210 << "210: 10. January";
        QTest::newRow("day the month lacks") << 8 << 231 << "231: 31. December";
        QTest::newRow("end of January") << 7 << 233 << "233: Ende January 2027";
        QTest::newRow("middle of December") << 8 << 254 << "254: Mitte December 2027";
        QTest::newRow("middle of November") << 8 << 252 << "252: Mitte November 2027";
        QTest::newRow("time beyond") << 8 << 300 << "300";
        QTest::newRow("separator") << 14 << 0 << QString();
    }
    void valueTexts()
    {
        QFETCH(int, label);
        QFETCH(int, value);
        QFETCH(QString, text);
        TMCLblModel model;
        model.setLabels({TMCLblModel::makeLabel(label, quint32(value))}, 101);
        QCOMPARE(model.index(0, 1).data().toString(), text);
    }

    // The supplementary information of label 6 in the language of the
    // window, as the event texts are.
    void supplementaryInfoFollowsLanguage_data()
    {
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("text");
        QTest::newRow("German") << true << "12: starker Verkehr";
        QTest::newRow("English") << false << "12: heavy traffic";
    }

    void supplementaryInfoFollowsLanguage()
    {
        QFETCH(bool, german);
        QFETCH(QString, text);
        const bool before = std::exchange(uiGerman, german);
        TMCLblModel model;
        model.setLabels({TMCLblModel::makeLabel(6, 12)}, 101);
        const QString shown = model.index(0, 1).data().toString();
        uiGerman = before;
        QCOMPARE(shown, text);
    }

    void editAndRemoveLabels()
    {
        TMCLblModel model;
        QList<quint32> labels;
        for (int n = 0; n < 5; ++n)
            labels.append(TMCLblModel::makeLabel(6, quint32(n)));
        model.setLabels(labels, 101);
        QSignalSpy changed(&model, &TMCLblModel::labelChanged);
        QVERIFY(model.setData(model.index(2, 0), 3, Qt::EditRole));
        QCOMPARE(changed.last().at(1).toUInt(), TMCLblModel::makeLabel(3, 2));
        QVERIFY(model.setData(model.index(2, 1), 9, Qt::EditRole));
        QCOMPARE(model.labels().at(2), TMCLblModel::makeLabel(3, 9));
        QVERIFY(!model.setData(model.index(2, 1), "nine", Qt::EditRole));
        QCOMPARE(model.removeLabel({1, 3, 9}), 2);
        QCOMPARE(model.labels(),
                 (QList<quint32>{labels.at(0), TMCLblModel::makeLabel(3, 9), labels.at(4)}));
        QCOMPARE(changed.last().at(0).toInt(), 0);
        QCOMPARE(changed.last().at(1).toUInt(), 0u);
        QCOMPARE(model.addLabel(TMCLblModel::makeLabel(14, 0)), 4);
    }

    // --- search windows ----------------------------------------------------

    void eventSearch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("nature");
        QTest::addColumn<int>("duration");
        QTest::addColumn<int>("urgency");
        QTest::addColumn<int>("quantifier");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("updateClass");
        QTest::addColumn<QList<int>>("codes");
        QTest::newRow("no filter lists all")
            << "" << 0 << 0 << 0 << -1 << 0 << 0 << QList<int>{101, 102, 103, 104, 105, 106, 108};
        QTest::newRow("code beats every filter")
            << "101" << 3 << 1 << 1 << 5 << 2 << 9 << QList<int>{101};
        QTest::newRow("empty nature")
            << "" << 1 << 0 << 0 << -1 << 0 << 0 << QList<int>{102, 103, 104};
        QTest::newRow("dynamic takes bracketed d")
            << "" << 0 << 2 << 0 << -1 << 0 << 0 << QList<int>{102, 103, 105, 106};
        QTest::newRow("umlaut ignoring case")
            << QString::fromUtf8("ÜBER") << 0 << 0 << 0 << -1 << 0 << 0 << QList<int>{106};
        QTest::newRow("sharp s") << QString::fromUtf8("straße") << 0 << 0 << 0 << -1 << 0 << 0
                                 << QList<int>{104};
        QTest::newRow("English text") << "FOG" << 0 << 0 << 0 << -1 << 0 << 0 << QList<int>{103};
        QTest::newRow("quantifier 0") << "" << 0 << 0 << 0 << 0 << 0 << 0 << QList<int>{101};
        QTest::newRow("urgent, class 6, both directions")
            << "" << 0 << 0 << 2 << -1 << 2 << 6 << QList<int>{103};
    }
    void eventSearch()
    {
        QFETCH(QString, text);
        QFETCH(int, nature);
        QFETCH(int, duration);
        QFETCH(int, urgency);
        QFETCH(int, quantifier);
        QFETCH(int, direction);
        QFETCH(int, updateClass);
        QFETCH(QList<int>, codes);
        TMCEventSearch* w = table->eventSearch();
        w->findChild<QComboBox*>("N")->setCurrentIndex(nature);
        w->findChild<QComboBox*>("T")->setCurrentIndex(duration);
        w->findChild<QComboBox*>("U")->setCurrentIndex(urgency);
        w->findChild<QSpinBox*>("Q")->setValue(quantifier);
        w->findChild<QSpinBox*>("D")->setValue(direction);
        w->findChild<QSpinBox*>("C")->setValue(updateClass);
        auto* edit = w->findChild<QLineEdit*>("text");
        edit->clear();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        TMCEvtModel* model = w->resultModel();
        QList<int> found;
        for (int row = 0; row < model->rowCount(); ++row)
            found.append(model->index(row, 0).data().toInt());
        QCOMPARE(found, codes);
        QCOMPARE(w->windowTitle(), QString("TMC Ereignis suchen (%1)").arg(codes.size()));
    }

    void placeSearch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("firstCode");
        QTest::addColumn<QString>("title");
        QTest::newRow("two words in any order") << "koeln bonn" << 1 << 7 << " (1)";
        QTest::newRow("word and code") << "  BONN   8 " << 1 << 8 << " (1)";
        QTest::newRow("nothing") << "Paris" << 0 << -1 << " (0)";
        QTest::newRow("empty search is capped") << "" << 10000 << 7 << " (>9999)";
    }
    void placeSearch()
    {
        QFETCH(QString, text);
        QFETCH(int, rows);
        QFETCH(int, firstCode);
        QFETCH(QString, title);
        TMCPlaceSearch* w = table->placeSearch();
        auto* edit = w->findChild<QLineEdit*>("text");
        edit->setText(text);
        QTest::mouseClick(w->findChild<QPushButton*>("search"), Qt::LeftButton);
        TMCLocModel* model = w->resultModel();
        QCOMPARE(model->rowCount(), rows);
        if (rows > 0)
            QCOMPARE(model->index(0, 0).data().toInt(), firstCode);
        QCOMPARE(w->windowTitle(), "TMC Orte suchen" + title);
    }

    void placeColumns()
    {
        TMCPlaceSearch* w = table->placeSearch();
        w->findChild<QLineEdit*>("text")->setText("A555");
        w->findChild<QLineEdit*>("text")->returnPressed();
        TMCLocModel* model = w->resultModel();
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->index(0, 6).data().toString(), QString("Bonn"));
        QCOMPARE(model->index(0, 9).data().toString(), QString("x y"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QString("cid"));
        QCOMPARE(model->headerData(9, Qt::Horizontal).toString(), QString("other"));
        QCOMPARE(model->flags(model->index(0, 1)), Qt::ItemIsEnabled);
    }
};

QTEST_MAIN(TestTmcModels)
#include "tst_tmcmodels.moc"
