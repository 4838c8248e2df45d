// The channel dialog on a store of a temporary project: what it opens with,
// what OK writes for one channel or a range, and that a broken range or
// Cancel writes nothing.
#include "channels/FMConfig.h"
#include "settings/FMSettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

class TestFMConfig : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensOnTheRecord_data();
    void opensOnTheRecord();
    void writesTheControls();
    void copiesToRange_data();
    void copiesToRange();
    void rangeEndingBeforeItsStartKeepsTheDialog();
    void cancelWritesNothing();
    void autoRateSaysTheRateFollowsTheSong();

private:
    QSharedPointer<FMSettings> store;
    std::unique_ptr<QTemporaryDir> dir;

    template <typename T> static T* child(FMConfig& dialog, const char* name)
    {
        T* found = dialog.findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no child %s", name);
        return found;
    }
    static void clickOk(FMConfig& dialog)
    {
        child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->click();
    }
    ChannelConfig channel(int number) const { return store->channel(number); }
};

void TestFMConfig::init()
{
    dir = std::make_unique<QTemporaryDir>();
    store = QSharedPointer<FMSettings>::create(dir->filePath(QStringLiteral("p.fm")));
}

// The store writes its file as it goes away, so it goes before its folder.
void TestFMConfig::cleanup()
{
    store.reset();
    dir.reset();
}

void TestFMConfig::opensOnTheRecord_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<bool>("freeEnabled");
    QTest::newRow("deviation 60 is the free one") << "devi" << 60 << "kHz" << true;
    QTest::newRow("deviation 50") << "devi" << 50 << "kHz50" << false;
    QTest::newRow("deviation 75") << "devi" << 75 << "kHz75" << false;
    QTest::newRow("22050 opens on 44.1 kHz") << "rate" << 22050 << "r44" << false;
    QTest::newRow("32000") << "rate" << 32000 << "r32" << false;
    QTest::newRow("48000") << "rate" << 48000 << "r48" << false;
    QTest::newRow("no pre-emphasis") << "emph" << 0 << "preno" << false;
    QTest::newRow("75 us") << "emph" << 2 << "pre75" << false;
    QTest::newRow("mono") << "mono" << 1 << "mono" << false;
    QTest::newRow("stereo") << "mono" << 0 << "stereo" << false;
}

void TestFMConfig::opensOnTheRecord()
{
    QFETCH(QString, key);
    QFETCH(int, value);
    QFETCH(QString, checked);
    QFETCH(bool, freeEnabled);
    QVERIFY(store->setValue(QStringLiteral("channel.7.") + key, value));
    FMConfig dialog(7, store);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Kanal 7 Editor"));
    QVERIFY(child<QRadioButton>(dialog, qPrintable(checked))->isChecked());
    QCOMPARE(child<QSpinBox>(dialog, "free")->isEnabled(), freeEnabled);
    QCOMPARE(child<QSpinBox>(dialog, "setVon")->value(), 7);
    QCOMPARE(child<QSpinBox>(dialog, "setBis")->value(), 7);
    QVERIFY(!child<QGroupBox>(dialog, "copyTo")->isChecked());
}

// OK writes what the controls show: the free deviation as it stands, a
// rate the buttons do not know as 44.1 kHz.
void TestFMConfig::writesTheControls()
{
    QVERIFY(store->setValue(QStringLiteral("channel.7.devi"), 60));
    QVERIFY(store->setValue(QStringLiteral("channel.7.rate"), 22050));
    FMConfig dialog(7, store);
    child<QRadioButton>(dialog, "pre75")->setChecked(true);
    child<QRadioButton>(dialog, "mono")->setChecked(true);
    child<QCheckBox>(dialog, "rAuto")->setChecked(true);
    clickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(channel(7).devi, 60);
    QCOMPARE(channel(7).rate, 44100);
    QCOMPARE(channel(7).emph, 2);
    QCOMPARE(int(channel(7).mono), 1);
    QCOMPARE(int(channel(7).autoRate), 1);
    QCOMPARE(channel(8).emph, 1);
}

void TestFMConfig::copiesToRange_data()
{
    QTest::addColumn<bool>("all");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("all channels, boards not in use too") << true << 30 << 20 << 1 << 96;
    QTest::newRow("a range without the own channel") << false << 10 << 12 << 10 << 12;
    QTest::newRow("a range of one") << false << 96 << 96 << 96 << 96;
}

void TestFMConfig::copiesToRange()
{
    QFETCH(bool, all);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, first);
    QFETCH(int, last);
    FMConfig dialog(3, store);
    child<QGroupBox>(dialog, "copyTo")->setChecked(true);
    child<QCheckBox>(dialog, "setAll")->setChecked(all);
    QCOMPARE(child<QSpinBox>(dialog, "setVon")->isEnabled(), !all);
    child<QSpinBox>(dialog, "setVon")->setValue(from);
    child<QSpinBox>(dialog, "setBis")->setValue(to);
    child<QRadioButton>(dialog, "kHz50")->setChecked(true);
    clickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    for (int n = 1; n <= FMSettings::kChannelCount; ++n)
        QCOMPARE(channel(n).devi, n >= first && n <= last ? 50 : 75);
}

// The range 10 to 5 keeps the dialog open with the edits and the focus on
// its end; once the end is mended, OK writes the range.
void TestFMConfig::rangeEndingBeforeItsStartKeepsTheDialog()
{
    FMConfig dialog(3, store);
    dialog.show();
    child<QGroupBox>(dialog, "copyTo")->setChecked(true);
    child<QSpinBox>(dialog, "setVon")->setValue(10);
    child<QSpinBox>(dialog, "setBis")->setValue(5);
    child<QRadioButton>(dialog, "r48")->setChecked(true);
    clickOk(dialog);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.focusWidget(), child<QSpinBox>(dialog, "setBis"));
    QVERIFY(child<QRadioButton>(dialog, "r48")->isChecked());
    QVERIFY(!store->isDirty());
    // The end says why, framed red, until it is changed.
    auto* end = child<QSpinBox>(dialog, "setBis");
    QCOMPARE(end->toolTip(), QStringLiteral("Der Bereich endet vor seinem Anfang (10 bis 5): bitte "
                                            "das Ende auf 10 oder höher setzen."));
    QVERIFY(end->styleSheet().contains(QLatin1String("border")));
    end->setValue(11);
    QCOMPARE(end->toolTip(), QString());
    QCOMPARE(end->styleSheet(), QString());
    clickOk(dialog);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(channel(9).rate, 44100);
    QCOMPARE(channel(10).rate, 48000);
    QCOMPARE(channel(11).rate, 48000);
    QCOMPARE(channel(3).rate, 44100);
}

// With kHz Auto on, the chosen rate is overridden by the song's: the dialog
// says so beside the rates, not only in a tool tip.
void TestFMConfig::autoRateSaysTheRateFollowsTheSong()
{
    FMConfig dialog(3, store);
    dialog.show();
    auto* note = child<QLabel>(dialog, "rateNote");
    auto* automatic = child<QCheckBox>(dialog, "rAuto");
    QCOMPARE(note->isVisible(), automatic->isChecked());
    QTest::mouseClick(automatic, Qt::LeftButton);
    QCOMPARE(note->isVisible(), automatic->isChecked());
    QVERIFY(note->text().contains(QLatin1String("kHz Auto")));
    QTest::mouseClick(automatic, Qt::LeftButton);
    QCOMPARE(note->isVisible(), automatic->isChecked());
}

void TestFMConfig::cancelWritesNothing()
{
    FMConfig dialog(4, store);
    dialog.show();
    child<QRadioButton>(dialog, "kHz")->setChecked(true);
    child<QSpinBox>(dialog, "free")->setValue(40);
    child<QGroupBox>(dialog, "copyTo")->setChecked(true);
    child<QCheckBox>(dialog, "setAll")->setChecked(true);
    child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Cancel)->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!store->isDirty());
    QCOMPARE(channel(4).devi, 75);
}

QTEST_MAIN(TestFMConfig)
#include "tst_fmconfig.moc"
