// The EON table of the RDS page: cells typed into the real view, rows added
// and deleted with the page's buttons, and what the store writes and reads.
#include "RdsPageKit.h"
#include "rds/EONModel.h"
#include "rds/EONValid.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

namespace {

// Source 1 is what channel 3 sends; source 2, current on attach, holds the
// EON rows under test.
RdsPageKit::Keys linkedProject(const RdsPageKit::Keys& more = {})
{
    RdsPageKit::Keys keys = RdsPageKit::sources({1, 2});
    keys.append({QStringLiteral("channel.3/used"), 1});
    keys.append({QStringLiteral("channel.3/idrds"), 1});
    keys.append({QStringLiteral("rds.1/pi"), QStringLiteral("1234")});
    keys.append({QStringLiteral("rds.1/ps"), QStringLiteral("Drei")});
    keys.append({QStringLiteral("rds.1/pty"), 5});
    keys.append({QStringLiteral("rds.1/tp"), 1});
    keys.append({QStringLiteral("rds.1/ta"), 1});
    keys.append({QStringLiteral("rds.1/afs"), QStringLiteral("881 -955 1000")});
    keys.append(more);
    return keys;
}

// Rows of source 2 whose PIs are 1000, 1001, ... so their order shows.
RdsPageKit::Keys storedRows(int count)
{
    RdsPageKit::Keys keys;
    for (int m = 0; m < count; ++m)
        keys.append({QStringLiteral("rds.2/eon/%1").arg(m),
                     QStringLiteral("0 %1 10 1 0 0").arg(0x1000 + m, 0, 16)});
    return keys;
}

class EonKit : public RdsPageKit
{
public:
    explicit EonKit(const Keys& keys) : RdsPageKit(keys)
    {
        // Group 14A is sent, so its box and the table in it are enabled.
        std::array<GroupRate, GroupRate::kGroupCount> rates{};
        rates[kEonGroup] = GroupRate{1, {60, 0, 0, 0}};
        store->setGroupRates(2, rates);
        deliver();
        page->show();
        view = find<QTableView>("EON");
    }

    QAbstractItemModel* model() const { return view->model(); }

    QVariant cell(int row, int column, int role = Qt::DisplayRole) const
    {
        return model()->data(model()->index(row, column), role);
    }

    // Opens the cell's editor with F2 as the user does, replaces its text
    // and commits it with Return.
    void typeInto(int row, int column, const QString& text)
    {
        const QModelIndex index = model()->index(row, column);
        view->setFocus();
        view->setCurrentIndex(index);
        QTest::keyClick(view, Qt::Key_F2);
        QWidget* editor = view->indexWidget(index);
        QVERIFY(editor);
        QLineEdit* line = qobject_cast<QLineEdit*>(editor);
        if (auto* box = qobject_cast<QSpinBox*>(editor))
            line = box->findChild<QLineEdit*>();
        QVERIFY(line);
        line->selectAll();
        QTest::keyClick(line, Qt::Key_Delete);
        line->setCursorPosition(0);
        for (const QChar c : text)
            QTest::keyClick(line, char(c.unicode()));
        QTest::keyClick(line, Qt::Key_Return);
        // The delegate commits from a queued call.
        QCoreApplication::processEvents();
        deliver();
    }

    void clickAdd()
    {
        QTest::mouseClick(find<QPushButton>("BaddEON"), Qt::LeftButton);
        deliver();
    }

    void selectRows(const QList<int>& rows)
    {
        view->clearSelection();
        for (int row : rows)
            view->selectionModel()->select(model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    QString key(const QString& rest) const
    {
        return store->value(QStringLiteral("rds.2/eon/") + rest).toString();
    }

    QTableView* view = nullptr;

private:
    static constexpr int kEonGroup = 14;
};

QList<quint16> pisOf(const QList<EON>& rows)
{
    QList<quint16> pis;
    for (const EON& row : rows)
        pis.append(row.pi);
    return pis;
}

} // namespace

class TestTabRDSEon : public QObject
{
    Q_OBJECT
private slots:
    void newRowAndLink()
    {
        EonKit kit(linkedProject());
        QCOMPARE(kit.currentId(), 2);
        QVERIFY(kit.store->rdsSource(1).af.isEmpty());
        kit.clickAdd();
        QCOMPARE(kit.model()->rowCount(), 1);
        QCOMPARE(kit.key("0"), QStringLiteral("0 0 10 1 0 0"));
        QCOMPARE(kit.cell(0, EONModel::ChannelColumn).toString(), QStringLiteral("kein"));
        QCOMPARE(kit.cell(0, EONModel::TpColumn, Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(kit.cell(0, EONModel::PiColumn, Qt::ToolTipRole).toString(),
                 QStringLiteral("manuelle Einträge werden gesendet"));

        kit.typeInto(0, EONModel::ChannelColumn, QStringLiteral("3"));
        for (int column = 0; column < EONModel::ColumnCount; ++column) {
            const Qt::ItemFlags flags = kit.model()->flags(kit.model()->index(0, column));
            const bool open = column == EONModel::ChannelColumn || column == EONModel::LinkColumn;
            QCOMPARE(flags.testFlag(Qt::ItemIsEnabled), open);
            QCOMPARE(flags.testFlag(Qt::ItemIsEditable), open);
            QVERIFY(flags.testFlag(Qt::ItemIsSelectable));
        }
        // Written with channel 3's programme data; the reload shows it.
        QCOMPARE(kit.key("0"), QStringLiteral("3 1234 5 1 1 0"));
        QCOMPARE(kit.key("0/ps"), QStringLiteral("Drei"));
        // Channel 3's own frequency (89.1 MHz) first, then its source's list.
        QCOMPARE(kit.key("0/af"), QStringLiteral("891 881 -955 1000"));
        QCOMPARE(kit.cell(0, EONModel::ChannelColumn).toInt(), 3);
        QCOMPARE(kit.cell(0, EONModel::PiColumn).toString(), QStringLiteral("1234"));
        QCOMPARE(kit.cell(0, EONModel::PtyColumn).toInt(), 5);
        QCOMPARE(kit.cell(0, EONModel::PsColumn).toString(), QStringLiteral("Drei"));
        QCOMPARE(kit.cell(0, EONModel::TaColumn, Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(kit.cell(0, EONModel::AfColumn).toString(),
                 QStringLiteral("89.1 88.1 -95.5 100 "));
        QCOMPARE(kit.cell(0, EONModel::PiColumn, Qt::ToolTipRole).toString(),
                 QStringLiteral("RDS-Daten von Kanal 3 werden gesendet"));
    }

    void typedCells_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("rest");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("shown");
        QTest::newRow("PI") << int(EONModel::PiColumn) << "D3C1"
                            << "0"
                            << "0 d3c1 10 1 0 0"
                            << "D3C1";
        QTest::newRow("PI with zeros") << int(EONModel::PiColumn) << "0a0b"
                                       << "0"
                                       << "0 a0b 10 1 0 0"
                                       << "0A0B";
        QTest::newRow("link") << int(EONModel::LinkColumn) << "012F"
                              << "0"
                              << "0 0 10 1 0 12f"
                              << "012F";
        QTest::newRow("PTY") << int(EONModel::PtyColumn) << "31"
                             << "0"
                             << "0 0 31 1 0 0"
                             << "31";
        QTest::newRow("PS") << int(EONModel::PsColumn) << "Andere Welle"
                            << "0/ps"
                            << "Andere W"
                            << "Andere W";
        QTest::newRow("AF list") << int(EONModel::AfColumn) << "87.6 95.80 1602"
                                 << "0/af"
                                 << "876 958 16020"
                                 << "87.6 95.8 1602 ";
    }

    void typedCells()
    {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(QString, rest);
        QFETCH(QString, written);
        QFETCH(QString, shown);
        EonKit kit(linkedProject());
        kit.clickAdd();
        kit.typeInto(0, column, typed);
        QCOMPARE(kit.key(rest), written);
        QCOMPARE(kit.cell(0, column).toString(), shown);
    }

    void modelEdits_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("PI no hex") << int(EONModel::PiColumn) << QVariant("xyz") << false << "0000";
        QTest::newRow("PI beyond 32 bits")
            << int(EONModel::PiColumn) << QVariant("123456789") << false << "0000";
        QTest::newRow("channel kept in 8 bits")
            << int(EONModel::ChannelColumn) << QVariant(258) << true << "2";
        QTest::newRow("empty AF list") << int(EONModel::AfColumn) << QVariant("") << true << "";
        QTest::newRow("AF zero and words dropped")
            << int(EONModel::AfColumn) << QVariant("0 abc 87.25 -95.25") << true << "87.3 -95.3 ";
        QTest::newRow("TP in the edit role")
            << int(EONModel::TpColumn) << QVariant(0) << false << "";
    }

    // What the model keeps and whether it asks to be saved, typed or not.
    void modelEdits()
    {
        QFETCH(int, column);
        QFETCH(QVariant, value);
        QFETCH(bool, accepted);
        QFETCH(QString, shown);
        EONModel model;
        model.addRow(EONModel::newRow());
        model.setData(model.index(0, EONModel::PiColumn), QStringLiteral("BEEF"));
        int saves = 0;
        connect(&model, &EONModel::saveEON, this, [&saves] { ++saves; });
        QCOMPARE(model.setData(model.index(0, column), value), accepted);
        QCOMPARE(saves, accepted ? 1 : 0);
        QCOMPARE(model.data(model.index(0, column)).toString(), shown);
    }

    void validator_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty list") << "" << int(QValidator::Acceptable) << "";
        QTest::newRow("blank kept for the next one")
            << "87.6 95.8 " << int(QValidator::Acceptable) << "87.6 95.8 ";
        QTest::newRow("blanks folded, second decimal cut")
            << "  87.6   95.80" << int(QValidator::Acceptable) << "87.6 95.8";
        QTest::newRow("one part still typed")
            << "87.6 10" << int(QValidator::Intermediate) << "87.6 10";
        QTest::newRow("one part no number") << "87.6 abc" << int(QValidator::Invalid) << "87.6 abc";
        QTest::newRow("parts snapped into their bands")
            << "300 450 1605" << int(QValidator::Acceptable) << "279 531 1602";
    }

    void validator()
    {
        QFETCH(QString, typed);
        QFETCH(int, state);
        QFETCH(QString, text);
        EONValid valid;
        int pos = int(typed.size());
        QCOMPARE(int(valid.validate(typed, pos)), state);
        QCOMPARE(typed, text);
        QVERIFY(pos <= typed.size());
    }

    void fixup_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::newRow("each part fixed") << "50 300 1605"
                                         << "87.6 531 1602";
        QTest::newRow("no number dropped") << " abc  95 "
                                           << "95";
    }

    void fixup()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        EONValid valid;
        valid.fixup(typed);
        QCOMPARE(typed, text);
    }

    void checkBoxes()
    {
        EONModel model;
        model.addRow(EONModel::newRow());
        int saves = 0;
        connect(&model, &EONModel::saveEON, this, [&saves] { ++saves; });
        QVERIFY(model.setData(model.index(0, EONModel::TaColumn), int(Qt::Checked),
                              Qt::CheckStateRole));
        QVERIFY(model.setData(model.index(0, EONModel::TpColumn), int(Qt::Unchecked),
                              Qt::CheckStateRole));
        QVERIFY(!model.setData(model.index(0, EONModel::TpColumn), QStringLiteral("ja"),
                               Qt::CheckStateRole));
        QCOMPARE(saves, 2);
        QCOMPARE(model.rows().at(0).ta, quint8(1));
        QCOMPARE(model.rows().at(0).tp, quint8(0));
        QVERIFY(!model.flags(model.index(1, 0)).testFlag(Qt::ItemIsEnabled));
    }

    void deleteRows_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QList<quint16>>("kept");
        QTest::newRow("rows 1 and 3 of five")
            << 5 << QList<int>{1, 3} << QList<quint16>{0x1000, 0x1002, 0x1004};
        // More rows go than ten beyond the last that is left.
        QTest::newRow("twelve of fourteen")
            << 14 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}
            << QList<quint16>{0x1000, 0x100d};
    }

    void deleteRows()
    {
        QFETCH(int, stored);
        QFETCH(QList<int>, selected);
        QFETCH(QList<quint16>, kept);
        EonKit kit(linkedProject(storedRows(stored)));
        QCOMPARE(kit.model()->rowCount(), stored);
        // Nothing selected: the delete button leaves the table alone.
        kit.view->clearSelection();
        QTest::mouseClick(kit.find<QPushButton>("BdelEON"), Qt::LeftButton);
        QCOMPARE(kit.model()->rowCount(), stored);

        kit.selectRows(selected);
        QTest::mouseClick(kit.find<QPushButton>("BdelEON"), Qt::LeftButton);
        kit.deliver();
        QCOMPARE(kit.model()->rowCount(), kept.size());
        QCOMPARE(pisOf(kit.store->rdsSource(2).eon), kept);
        QStringList left = kit.store->rawAllKeys(QStringLiteral("rds.2/eon"));
        left.sort();
        QStringList expected;
        for (int m = 0; m < kept.size(); ++m)
            expected << QString::number(m) << QStringLiteral("%1/af").arg(m)
                     << QStringLiteral("%1/ps").arg(m);
        expected.sort();
        QCOMPARE(left, expected);

        // Opened again, the project holds exactly the rows that were kept.
        QVERIFY(kit.store->writeNow());
        FMSettings reopened(kit.dir.filePath(QStringLiteral("project.fm")));
        QCOMPARE(pisOf(reopened.rdsSource(2).eon), kept);
    }

    void removeSkipsBeyondEnd()
    {
        EONModel model;
        model.addRow(EONModel::newRow());
        model.addRow(EON{});
        model.removeRow({0, 2, 7});
        QCOMPARE(model.rows(), QList<EON>{EON{}});
    }

    void twelveRowsReopened()
    {
        EonKit kit(linkedProject());
        QList<quint16> typed;
        for (int m = 0; m < 12; ++m) {
            kit.clickAdd();
            const quint16 pi = quint16(0xA000 + m);
            kit.typeInto(m, EONModel::PiColumn, QString::number(pi, 16));
            typed.append(pi);
        }
        QCOMPARE(pisOf(kit.store->rdsSource(2).eon), typed);
        QVERIFY(kit.store->writeNow());

        auto reopened =
            QSharedPointer<FMSettings>::create(kit.dir.filePath(QStringLiteral("project.fm")));
        QCOMPARE(pisOf(reopened->rdsSource(2).eon), typed);
        kit.page->setProgram(reopened);
        kit.deliver();
        QCOMPARE(kit.currentId(), 2);
        QCOMPARE(kit.model()->rowCount(), 12);
        QCOMPARE(kit.cell(10, EONModel::PiColumn).toString(), QStringLiteral("A00A"));
        QCOMPARE(kit.cell(11, EONModel::PiColumn).toString(), QStringLiteral("A00B"));
        QCOMPARE(kit.model()->headerData(11, Qt::Vertical).toInt(), 11);
    }

    void withoutStore()
    {
        TabRDS page;
        QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("BaddEON")), Qt::LeftButton);
        QCOMPARE(page.findChild<QTableView*>(QStringLiteral("EON"))->model()->rowCount(), 0);
    }
};

QTEST_MAIN(TestTabRDSEon)
#include "tst_tabrdseon.moc"
