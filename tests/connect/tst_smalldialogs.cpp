// The band dialog and the remote port dialog: what they are given, what
// they show, and what they hand back.
#include "connect/FMBand.h"
#include "remote/dialog/Remote.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

class TestSmallDialogs : public QObject
{
    Q_OBJECT

private slots:
    void bandDialog_data();
    void bandDialog();
    void bandChoiceByClick();
    void remoteDialog_data();
    void remoteDialog();
    void remoteButtons();
};

void TestSmallDialogs::bandDialog_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("attenuation");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("returnedBand");
    QTest::newRow("Europe") << 0 << 0 << "bandEU"
                            << "bandEU" << 0 << 0;
    QTest::newRow("Japan, -10 dB") << 1 << -10 << "bandJP"
                                   << "bandJP" << -10 << 1;
    QTest::newRow("Brazil, lowest") << 2 << -31 << "bandBR"
                                    << "bandBR" << -31 << 2;
    QTest::newRow("-40 dB shows the lowest") << 0 << -40 << "bandEU"
                                             << "bandEU" << -31 << 0;
    QTest::newRow("above 0 dB shows 0") << 1 << 5 << "bandJP"
                                        << "bandJP" << 0 << 1;
    QTest::newRow("band 7 checks none, reads as Europe") << 7 << -3 << ""
                                                         << "bandEU" << -3 << 0;
    QTest::newRow("band -1 checks none") << -1 << 0 << ""
                                         << "bandEU" << 0 << 0;
}

void TestSmallDialogs::bandDialog()
{
    QFETCH(int, band);
    QFETCH(int, attenuation);
    QFETCH(QString, checked);
    QFETCH(QString, focused);
    QFETCH(int, shown);
    QFETCH(int, returnedBand);
    FMBand dialog(nullptr, band, attenuation);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    for (const QString name : {"bandEU", "bandJP", "bandBR"})
        QCOMPARE(dialog.findChild<QRadioButton*>(name)->isChecked(), name == checked);
    QCOMPARE(QApplication::focusWidget(), dialog.findChild<QWidget*>(focused));
    auto* att = dialog.findChild<QSpinBox*>(QStringLiteral("att"));
    QCOMPARE(att->value(), shown);
    QCOMPARE(att->text(), QStringLiteral("%1 dB").arg(shown));
    QCOMPARE(dialog.band(), returnedBand);
    QCOMPARE(dialog.attenuation(), shown);
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestSmallDialogs::bandChoiceByClick()
{
    FMBand dialog(nullptr, 0, 0);
    dialog.show();
    QTest::mouseClick(dialog.findChild<QRadioButton*>(QStringLiteral("bandBR")), Qt::LeftButton);
    QCOMPARE(dialog.band(), 2);
    QVERIFY(!dialog.findChild<QRadioButton*>(QStringLiteral("bandEU"))->isChecked());
    auto* att = dialog.findChild<QSpinBox*>(QStringLiteral("att"));
    att->selectAll();
    QTest::keyClicks(att, QStringLiteral("-12"));
    QTest::keyClick(att, Qt::Key_Tab);
    QCOMPARE(dialog.attenuation(), -12);
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestSmallDialogs::remoteDialog_data()
{
    QTest::addColumn<int>("givenApp");
    QTest::addColumn<int>("givenRds");
    QTest::addColumn<int>("shownApp");
    QTest::addColumn<int>("shownRds");
    QTest::newRow("the defaults") << 1248 << 4001 << 1248 << 4001;
    QTest::newRow("lowest ports") << 80 << 80 << 80 << 80;
    QTest::newRow("below 80 shows 80") << 0 << 79 << 80 << 80;
    QTest::newRow("highest control port") << 65535 << 65440 << 65535 << 65440;
    QTest::newRow("RDS start leaves room for 96 channels") << 2000 << 65441 << 2000 << 65440;
    QTest::newRow("RDS start 65535 is too high") << 2000 << 65535 << 2000 << 65440;
}

void TestSmallDialogs::remoteDialog()
{
    QFETCH(int, givenApp);
    QFETCH(int, givenRds);
    QFETCH(int, shownApp);
    QFETCH(int, shownRds);
    Remote dialog{quint16(givenApp), quint16(givenRds)};
    auto* app = dialog.findChild<QSpinBox*>(QStringLiteral("portApp"));
    auto* rds = dialog.findChild<QSpinBox*>(QStringLiteral("portRDS"));
    QCOMPARE(app->value(), shownApp);
    QCOMPARE(rds->value(), shownRds);
    QCOMPARE(dialog.portApp(), quint16(shownApp));
    QCOMPARE(dialog.portRDS(), quint16(shownRds));
    // The highest channel's port must exist.
    QVERIFY(dialog.portRDS() + 95 <= 65535);
}

void TestSmallDialogs::remoteButtons()
{
    Remote dialog(1248, 4001);
    dialog.show();
    auto* app = dialog.findChild<QSpinBox*>(QStringLiteral("portApp"));
    app->selectAll();
    QTest::keyClicks(app, QStringLiteral("99999"));
    QVERIFY(dialog.portApp() <= 65535);
    app->selectAll();
    QTest::keyClicks(app, QStringLiteral("5000"));
    QCOMPARE(dialog.portApp(), quint16(5000));
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Bsave")), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    Remote other(1248, 4001);
    other.show();
    QTest::mouseClick(other.findChild<QPushButton*>(QStringLiteral("Bcancel")), Qt::LeftButton);
    QCOMPARE(other.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestSmallDialogs)
#include "tst_smalldialogs.moc"
