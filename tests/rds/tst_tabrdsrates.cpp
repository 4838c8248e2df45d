// The RDS2 form of the RDS page: the ODA table with its editors, the
// per-stream rates of one group, the group buttons' colours, and the group
// rates the basic and RadioText forms feed into the same table.
#include "RdsPageKit.h"
#include "rds/ODAModel.h"

#include <QAbstractItemDelegate>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>

namespace {

using Keys = RdsPageKit::Keys;
using Edit = void (*)(RdsPageKit&);

// A new row as the add button makes it, in its stored form.
const QString kNewRowText = QStringLiteral("0 601f cafe 1234 400 400 400 400 0 0 0 0 0");

Keys sourceWith(const Keys& extra)
{
    return RdsPageKit::sources({1}) + extra;
}

// What the store holds for a key of source 1, as the text of the file.
QString stored(const RdsPageKit& kit, const QString& key)
{
    const QVariant value = kit.store->value(QStringLiteral("rds.1.") + key);
    return value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(' '))
                                                    : value.toString();
}

QColor halfway(const QColor& a, const QColor& b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2,
                  (a.alpha() + b.alpha()) / 2);
}

// Replaces a spin box's text as the user types it.
void typeInto(QSpinBox* box, const QString& text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

QModelIndex odaCell(RdsPageKit& kit, int row, int column)
{
    return kit.find<QTableView>("ODA")->model()->index(row, column);
}

// Opens the table's own editor on a cell, types into it, steps it down
// with the arrow key and commits it.
void editOdaCell(RdsPageKit& kit, int row, int column, const QString& text, int stepsDown)
{
    auto* view = kit.find<QTableView>("ODA");
    const QModelIndex index = odaCell(kit, row, column);
    QAbstractItemDelegate* delegate = view->itemDelegateForIndex(index);
    std::unique_ptr<QWidget> editor(
        delegate->createEditor(view->viewport(), QStyleOptionViewItem(), index));
    auto* box = qobject_cast<QSpinBox*>(editor.get());
    QVERIFY(box);
    delegate->setEditorData(box, index);
    typeInto(box, text);
    for (int step = 0; step < stepsDown; ++step)
        QTest::keyClick(box, Qt::Key_Down);
    // Stepped below 0, a check word's editor offers "auto".
    if (stepsDown > 0 && column >= ODAModel::CheckA && column < ODAModel::RateS0)
        QCOMPARE(box->text(), QStringLiteral("auto"));
    delegate->setModelData(box, view->model(), index);
}

void selectGroupButton(RdsPageKit& kit, const char* name)
{
    kit.find<QToolButton>(name)->click();
}

QStringList gminKeys(const QStringList& keys)
{
    QStringList found;
    for (const QString& key : keys) {
        if (key.contains(QLatin1String("gmin")))
            found.append(key);
    }
    return found;
}

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestTabRDSRates : public QObject
{
    Q_OBJECT
private slots:
    void odaCellsShowStoredWords_data();
    void odaCellsShowStoredWords();
    void odaEditorStoresAndShows_data();
    void odaEditorStoresAndShows();
    void odaEditThatIsNoNumberIsNotSaved();
    void deletingOdaRowsKeepsTheOthersInOrder();

    void groupButtonShowsItsStreams_data();
    void groupButtonShowsItsStreams();
    void streamFieldsWriteTheGroup_data();
    void streamFieldsWriteTheGroup();
    void uncheckingOnFollowsIntoTheBasicForm();
    void groupButtonColours_data();
    void groupButtonColours();

    void formRatesFillTheTable_data();
    void formRatesFillTheTable();
    void loadingWritesNoRates();
    void unlistedGroupLeavesEntryZero_data();
    void unlistedGroupLeavesEntryZero();
};

void TestTabRDSRates::odaCellsShowStoredWords_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("shown");
    const QString row = QStringLiteral("d3c1 a 0 1234 3ff 5 400 ffff 60 -3 0 685 7");
    QTest::newRow("data word zero-padded, upper case") << row << 1 << "000A";
    QTest::newRow("data word with letters") << row << 0 << "D3C1";
    QTest::newRow("check word 1023") << row << 4 << "3FF";
    QTest::newRow("check word 5") << row << 5 << "005";
    QTest::newRow("check word 1024 is auto") << row << 6 << "auto";
    QTest::newRow("check word far above 1023 is auto") << row << 7 << "auto";
    QTest::newRow("rate of stream 0") << row << 8 << "60";
    QTest::newRow("rate of stream 3") << row << 11 << "685";
}

void TestTabRDSRates::odaCellsShowStoredWords()
{
    QFETCH(QString, row);
    QFETCH(int, column);
    QFETCH(QString, shown);
    RdsPageKit kit(sourceWith({{QStringLiteral("rds.1/oda/0"), row}}));
    QCOMPARE(odaCell(kit, 0, column).data().toString(), shown);
    QCOMPARE(kit.find<QTableView>("ODA")->model()->headerData(0, Qt::Vertical).toString(),
             QStringLiteral("0"));
}

void TestTabRDSRates::odaEditorStoresAndShows_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stepsDown");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("shown");
    QTest::newRow("auto typed as -1 in check word C")
        << 6 << "2a"
        << "-1" << 0 << "0 601f cafe 1234 400 400 400 400 0 0 0 0 0"
        << "auto";
    QTest::newRow("auto by stepping below 0 in check word B")
        << 5 << "2a"
        << "0" << 1 << "0 601f cafe 1234 400 400 400 400 0 0 0 0 0"
        << "auto";
    QTest::newRow("check word A 3ff") << 4 << ""
                                      << "3ff" << 0 << "0 601f cafe 1234 3ff 400 400 400 0 0 0 0 0"
                                      << "3FF";
    QTest::newRow("check word D 5") << 7 << ""
                                    << "5" << 0 << "0 601f cafe 1234 400 400 400 5 0 0 0 0 0"
                                    << "005";
    QTest::newRow("data word B") << 1 << ""
                                 << "abcd" << 0 << "0 abcd cafe 1234 400 400 400 400 0 0 0 0 0"
                                 << "ABCD";
    QTest::newRow("stream 2 rate") << 10 << ""
                                   << "40" << 0 << "0 601f cafe 1234 400 400 400 400 0 0 40 0 0"
                                   << "40";
}

void TestTabRDSRates::odaEditorStoresAndShows()
{
    QFETCH(int, column);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(int, stepsDown);
    QFETCH(QString, written);
    QFETCH(QString, shown);
    RdsPageKit kit(RdsPageKit::sources({1}));
    kit.find<QPushButton>("BaddODA")->click();
    QCOMPARE(stored(kit, QStringLiteral("oda.0")), kNewRowText);
    kit.deliver();
    QCOMPARE(odaCell(kit, 0, column).model()->rowCount(), 1);

    if (!before.isEmpty()) {
        editOdaCell(kit, 0, column, before, 0);
        kit.deliver();
        QCOMPARE(odaCell(kit, 0, column).data().toString(), QStringLiteral("02A"));
    }
    editOdaCell(kit, 0, column, typed, stepsDown);
    QCOMPARE(stored(kit, QStringLiteral("oda.0")), written);
    kit.deliver();
    QCOMPARE(odaCell(kit, 0, column).data().toString(), shown);
}

void TestTabRDSRates::odaEditThatIsNoNumberIsNotSaved()
{
    RdsPageKit kit(sourceWith({{QStringLiteral("rds.1/oda/0"), kNewRowText}}));
    QAbstractItemModel* model = kit.find<QTableView>("ODA")->model();
    const QModelIndex cell = odaCell(kit, 0, 2);
    QVERIFY(!model->setData(cell, QStringLiteral("cafe?")));
    QCOMPARE(cell.data().toString(), QStringLiteral("0000"));
    QCOMPARE(kit.written(), QStringList());
    QCOMPARE(stored(kit, QStringLiteral("oda.0")), kNewRowText);
}

void TestTabRDSRates::deletingOdaRowsKeepsTheOthersInOrder()
{
    Keys keys;
    for (int row = 0; row < 5; ++row)
        keys.append({QStringLiteral("rds.1/oda/%1").arg(row),
                     QStringLiteral("%1 601f cafe 1234 400 400 400 400 0 0 0 0 0").arg(row)});
    RdsPageKit kit(sourceWith(keys));
    auto* view = kit.find<QTableView>("ODA");
    QCOMPARE(view->model()->rowCount(), 5);
    view->selectionModel()->select(odaCell(kit, 1, 3), QItemSelectionModel::Select);
    view->selectionModel()->select(odaCell(kit, 3, 0), QItemSelectionModel::Select);
    view->selectionModel()->select(odaCell(kit, 3, 9), QItemSelectionModel::Select);
    kit.find<QPushButton>("BdelODA")->click();

    for (const auto& [row, first] : {std::pair{0, 0}, {1, 2}, {2, 4}})
        QCOMPARE(stored(kit, QStringLiteral("oda.%1").arg(row)),
                 QStringLiteral("%1 601f cafe 1234 400 400 400 400 0 0 0 0 0").arg(first));
    QVERIFY(!kit.store->contains(QStringLiteral("rds.1.oda.3")));
    QVERIFY(!kit.store->contains(QStringLiteral("rds.1.oda.4")));
    kit.deliver();
    QCOMPARE(view->model()->rowCount(), 3);
    QCOMPARE(odaCell(kit, 2, 0).data().toString(), QStringLiteral("0004"));
}

void TestTabRDSRates::groupButtonShowsItsStreams_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<QList<bool>>("filled");
    QTest::newRow("5A, stream 2 at -40")
        << "gmin/5"
        << "1 0 0 -40 0"
        << "A5" << true << QList<int>{0, 0, 40, 0} << QList<bool>{false, false, true, false};
    QTest::newRow("14B off, streams 0 and 3")
        << "gmin/30"
        << "0 25 0 0 -7"
        << "B14" << false << QList<int>{25, 0, 0, 7} << QList<bool>{false, false, false, true};
}

void TestTabRDSRates::groupButtonShowsItsStreams()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, button);
    QFETCH(bool, on);
    QFETCH(QList<int>, shown);
    QFETCH(QList<bool>, filled);
    RdsPageKit kit(sourceWith({{QStringLiteral("rds.1/") + key, value}}));
    auto* onBox = kit.find<QCheckBox>("on");
    QVERIFY(!onBox->isEnabled());

    kit.find<QToolButton>(qPrintable(button))->click();
    QVERIFY(onBox->isEnabled());
    QCOMPARE(onBox->isChecked(), on);
    const QColor plain = kit.find<QLabel>("l0")->palette().color(QPalette::Window);
    const QColor tint = halfway(plain, Qt::blue).lighter(120);
    for (int stream = 0; stream < 4; ++stream) {
        const QByteArray number = QByteArray::number(stream);
        auto* box = kit.find<QSpinBox>(("g" + number).constData());
        QVERIFY(box->isEnabled());
        QCOMPARE(box->value(), shown.at(stream));
        QCOMPARE(kit.find<QCheckBox>(("f" + number).constData())->isChecked(), filled.at(stream));
        if (stream > 0) {
            auto* label = kit.find<QLabel>(("l" + number).constData());
            QCOMPARE(label->palette().color(QPalette::Window),
                     shown.at(stream) != 0 ? tint : plain);
        }
    }
    // Showing an entry writes nothing.
    QCOMPARE(kit.written(), QStringList());
}

void TestTabRDSRates::streamFieldsWriteTheGroup_data()
{
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("removed");
    QTest::newRow("stream 2 filled at 40") << Keys{} << Edit([](RdsPageKit& kit) {
        selectGroupButton(kit, "A5");
        typeInto(kit.find<QSpinBox>("g2"), QStringLiteral("40"));
        kit.find<QCheckBox>("f2")->click();
    }) << QStringList{QStringLiteral("gmin.5=0 0 0 -40 0")}
                                           << QStringList{};
    QTest::newRow("11B switched on with stream 1") << Keys{} << Edit([](RdsPageKit& kit) {
        selectGroupButton(kit, "B11");
        kit.find<QCheckBox>("on")->click();
        typeInto(kit.find<QSpinBox>("g1"), QStringLiteral("12"));
    }) << QStringList{QStringLiteral("gmin.27=1 0 12 0 0")}
                                                   << QStringList{};
    QTest::newRow("all rates 0 removes both keys")
        << Keys{{QStringLiteral("rds.1/gmin/9"), QStringLiteral("0 10 0 0 0")},
                {QStringLiteral("rds.1/gmin9"), QStringLiteral("0 10 0 0 0")}}
        << Edit([](RdsPageKit& kit) {
               selectGroupButton(kit, "A9");
               typeInto(kit.find<QSpinBox>("g0"), QStringLiteral("0"));
           })
        << QStringList{} << QStringList{QStringLiteral("gmin.9"), QStringLiteral("gmin9")};
}

void TestTabRDSRates::streamFieldsWriteTheGroup()
{
    QFETCH(Keys, keys);
    QFETCH(Edit, edit);
    QFETCH(QStringList, present);
    QFETCH(QStringList, removed);
    RdsPageKit kit(sourceWith(keys));
    edit(kit);
    for (const QString& expected : present) {
        const QStringList parts = expected.split(QLatin1Char('='));
        QCOMPARE(stored(kit, parts.at(0)), parts.at(1));
    }
    for (const QString& key : removed)
        QVERIFY2(!kit.store->contains(QStringLiteral("rds.1.") + key), qPrintable(key));
    // The reload after the write shows the entry as it was written.
    kit.deliver();
    for (const QString& expected : present) {
        const int entry =
            expected.section(QLatin1Char('.'), 1).section(QLatin1Char('='), 0, 0).toInt();
        const QStringList fields = expected.section(QLatin1Char('='), 1).split(QLatin1Char(' '));
        const GroupRate rate = kit.store->rdsSource(1).gmin.at(entry);
        QCOMPARE(int(rate.on), fields.at(0).toInt());
        QCOMPARE(rate.rate.at(2), fields.at(3).toInt());
    }
}

void TestTabRDSRates::uncheckingOnFollowsIntoTheBasicForm()
{
    RdsPageKit kit(sourceWith({{QStringLiteral("rds.1/gmin/14"), QStringLiteral("1 40 0 0 0")}}));
    kit.page->show();
    auto* group14 = kit.find<QGroupBox>("group14");
    QVERIFY(group14->isChecked());
    QCOMPARE(kit.find<QSpinBox>("rate14")->value(), 40);

    selectGroupButton(kit, "A14");
    kit.find<QCheckBox>("on")->click();
    QVERIFY(!group14->isChecked());
    // Only the RDS2 form's values: the basic form's rate slot, which would
    // zero the rate of a group switched off, kept still.
    QCOMPARE(stored(kit, QStringLiteral("gmin.14")), QStringLiteral("0 40 0 0 0"));
    QCOMPARE(gminKeys(kit.written()), QStringList({QStringLiteral("rds.1/gmin/14")}));
    QVERIFY(!group14->isChecked());

    typeInto(kit.find<QSpinBox>("g0"), QStringLiteral("0"));
    QVERIFY(!kit.store->contains(QStringLiteral("rds.1.gmin.14")));
    QVERIFY(!kit.store->contains(QStringLiteral("rds.1.gmin14")));
}

void TestTabRDSRates::groupButtonColours_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QColor>("signal");
    QTest::newRow("on, stream 0 only: green") << "1 30 0 0 0" << QColor(Qt::green);
    QTest::newRow("on without rates: green") << "1 0 0 0 0" << QColor(Qt::green);
    QTest::newRow("on with stream 2: blue") << "1 30 0 -5 0" << QColor(Qt::blue);
    QTest::newRow("off with rates: yellow") << "0 0 8 0 0" << QColor(Qt::yellow);
    QTest::newRow("off, no rates: plain") << "0 0 0 0 0" << QColor();
}

void TestTabRDSRates::groupButtonColours()
{
    QFETCH(QString, value);
    QFETCH(QColor, signal);
    RdsPageKit kit(sourceWith({{QStringLiteral("rds.1/gmin/6"), value}}));
    const QColor base = QApplication::palette().color(QPalette::Button);
    const QColor expected = signal.isValid() ? halfway(base, signal) : base;
    auto* button = kit.find<QToolButton>("A6");
    QCOMPARE(button->palette().color(QPalette::Button), expected);
    // The button is filled with it: a pixel inside its frame, away from the text.
    button->resize(button->sizeHint());
    const QImage image = button->grab().toImage();
    QCOMPARE(image.pixelColor(2, image.height() / 2).rgb(), expected.rgb());
    // A neighbour without rates keeps the plain palette.
    QCOMPARE(kit.find<QToolButton>("A7")->palette().color(QPalette::Button), base);
}

void TestTabRDSRates::formRatesFillTheTable_data()
{
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("eRT group 11A fills entry 11, streams 1-3 kept")
        << Keys{{QStringLiteral("rds.1/gmin/11"), QStringLiteral("0 0 7 0 0")},
                {QStringLiteral("rds.1/rtxt"), 2}}
        << Edit([](RdsPageKit& kit) {
               auto* combo = kit.find<QComboBox>("eRTgroup");
               combo->setCurrentIndex(combo->findText(QStringLiteral("11A")));
           })
        << "gmin.11"
        << "1 150 7 0 0";
    QTest::newRow("8A filled with free groups")
        << Keys{{QStringLiteral("rds.1/gmin/8"), QStringLiteral("1 90 0 0 0")}}
        << Edit([](RdsPageKit& kit) { kit.find<QCheckBox>("fill8")->click(); }) << "gmin.8"
        << "1 -90 0 0 0";
    QTest::newRow("4A switched on goes once a minute")
        << Keys{} << Edit([](RdsPageKit& kit) { kit.find<QGroupBox>("group04")->setChecked(true); })
        << "gmin.4"
        << "1 1 0 0 0";
    QTest::newRow("0A switched off drops its stream-0 rate")
        << Keys{{QStringLiteral("rds.1/gmin/0"), QStringLiteral("1 200 3 0 0")}}
        << Edit([](RdsPageKit& kit) { kit.find<QGroupBox>("group00")->setChecked(false); })
        << "gmin.0"
        << "0 0 3 0 0";
}

void TestTabRDSRates::formRatesFillTheTable()
{
    QFETCH(Keys, keys);
    QFETCH(Edit, edit);
    QFETCH(QString, key);
    QFETCH(QString, value);
    RdsPageKit kit(sourceWith(keys));
    kit.page->show();
    edit(kit);
    QCOMPARE(stored(kit, key), value);
}

void TestTabRDSRates::loadingWritesNoRates()
{
    RdsPageKit kit(sourceWith({{QStringLiteral("rds.1/gmin/0"), QStringLiteral("1 40 0 0 0")}}));
    // Another writer changes the rates: the page loads them into switches
    // and rate fields whose rate slot must keep still meanwhile.
    std::array<GroupRate, GroupRate::kGroupCount> rates = kit.store->rdsSource(1).gmin;
    rates[0] = GroupRate{1, {55, 0, 0, 0}};
    rates[8] = GroupRate{1, {-20, 0, 0, 0}};
    rates[14] = GroupRate{1, {33, 0, 0, 0}};
    kit.store->setGroupRates(1, rates);
    kit.recorder.collect();
    kit.recorder.clear();
    kit.deliver();

    QCOMPARE(kit.find<QSpinBox>("rate0")->value(), 55);
    QVERIFY(kit.find<QGroupBox>("group08")->isChecked());
    QVERIFY(kit.find<QCheckBox>("fill8")->isChecked());
    QCOMPARE(kit.find<QSpinBox>("rate14")->value(), 33);
    QCOMPARE(gminKeys(kit.written()), QStringList());
    QVERIFY(!kit.store->contains(QStringLiteral("rds.1.gmin.3")));
    QCOMPARE(kit.store->rdsSource(1).gmin, rates);
}

void TestTabRDSRates::unlistedGroupLeavesEntryZero_data()
{
    QTest::addColumn<QString>("groupKey");
    QTest::addColumn<Edit>("edit");
    const auto rows = {
        std::pair{"rate 1 typed", Edit([](RdsPageKit& kit) {
                      typeInto(kit.find<QSpinBox>("rate1"), QStringLiteral("5"));
                  })},
        std::pair{"15A switched on",
                  Edit([](RdsPageKit& kit) { kit.find<QGroupBox>("group15")->setChecked(true); })},
        std::pair{"RT+ switch toggled", Edit([](RdsPageKit& kit) {
                      auto* box = kit.find<QGroupBox>("gRTplus");
                      box->setChecked(!box->isChecked());
                  })},
        std::pair{"RT+ rate typed", Edit([](RdsPageKit& kit) {
                      typeInto(kit.find<QSpinBox>("rateRTp"), QStringLiteral("60"));
                  })},
        std::pair{"eRT switch toggled", Edit([](RdsPageKit& kit) {
                      auto* box = kit.find<QCheckBox>("sendRTe");
                      box->setChecked(!box->isChecked());
                  })},
        std::pair{"eRT rate typed", Edit([](RdsPageKit& kit) {
                      typeInto(kit.find<QSpinBox>("rateRTe"), QStringLiteral("70"));
                  })},
        std::pair{"PS edited", Edit([](RdsPageKit& kit) {
                      auto* ps = kit.find<QLineEdit>("PS");
                      ps->setFocus();
                      ps->selectAll();
                      QTest::keyClicks(ps, QStringLiteral("NEU"));
                      QTest::keyClick(ps, Qt::Key_Return);
                  })},
    };
    for (const char* groupKey : {"rtgrp", "ertg"}) {
        for (const auto& [name, edit] : rows)
            QTest::newRow(qPrintable(QStringLiteral("%1 8, %2").arg(groupKey, name)))
                << QString::fromLatin1(groupKey) << edit;
    }
}

void TestTabRDSRates::unlistedGroupLeavesEntryZero()
{
    QFETCH(QString, groupKey);
    QFETCH(Edit, edit);
    // The combo lists only the groups eRT and RT+ may use; 8A is TMC's.
    RdsPageKit kit(sourceWith({{QStringLiteral("rds.1/") + groupKey, 8},
                               {QStringLiteral("rds.1/gmin/0"), QStringLiteral("1 30 0 0 0")},
                               {QStringLiteral("rds.1/gmin/8"), QStringLiteral("1 25 0 0 0")}}));
    kit.page->show();
    const char* combo = groupKey == QLatin1String("rtgrp") ? "pRTgroup" : "eRTgroup";
    QCOMPARE(kit.find<QComboBox>(combo)->currentIndex(), -1);

    edit(kit);
    kit.deliver();
    QCOMPARE(stored(kit, QStringLiteral("gmin.0")), QStringLiteral("1 30 0 0 0"));
    QCOMPARE(stored(kit, QStringLiteral("gmin.8")), QStringLiteral("1 25 0 0 0"));
    QCOMPARE(stored(kit, groupKey), QStringLiteral("8"));
    const RDSSource source = kit.store->rdsSource(1);
    QCOMPARE(groupKey == QLatin1String("rtgrp") ? source.rtgrp : source.ertg, quint8(8));
}

QTEST_MAIN(TestTabRDSRates)
#include "tst_tabrdsrates.moc"
