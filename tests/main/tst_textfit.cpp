// Texts of the window at the size an operator's screen gives it, in German
// and in English: placeholders of the channel strips, the columns of the
// connection dialog, the event list and the TMC message list show their
// whole text; so do the port choice and the fields of the board
// configuration dialog.
#include "WindowKit.h"

#include "board/BoardIP.h"
#include "board/FMDiscover.h"
#include "connect/FMCalib.h"
#include "connect/FMConnect.h"
#include "main/Startup.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTableView>
#include <QTranslator>

namespace {

constexpr QSize kScreenshotSize(1600, 1000);

// A label's text fits when its advance leaves room for the indent.
QString cutLabel(const QLabel* label)
{
    const int room = label->contentsRect().width() - std::max(0, label->indent());
    if (label->fontMetrics().horizontalAdvance(label->text()) <= room)
        return QString();
    return QStringLiteral("%1 \"%2\" needs %3 of %4 pixels")
        .arg(label->parentWidget()->objectName() + QLatin1Char('/') + label->objectName(),
             label->text())
        .arg(label->fontMetrics().horizontalAdvance(label->text()))
        .arg(room);
}

// Every column as wide as its heading and its widest cell.
QStringList cutColumns(QTableView* table)
{
    QStringList cut;
    QHeaderView* header = table->horizontalHeader();
    auto* view = static_cast<QAbstractItemView*>(table);
    for (int column = 0; column < header->count(); ++column) {
        const int needed = std::max(header->sectionSizeHint(column), view->sizeHintForColumn(column));
        if (header->sectionSize(column) < needed)
            cut.append(QStringLiteral("%1 column \"%2\" is %3 of %4 pixels")
                           .arg(table->objectName(),
                                table->model()->headerData(column, Qt::Horizontal).toString())
                           .arg(header->sectionSize(column))
                           .arg(needed));
    }
    return cut;
}

// Every entry of a choice fits the field that shows the chosen one, and
// the open list is as wide as its widest entry.
QStringList cutChoices(QComboBox* choice)
{
    QStringList cut;
    QStyleOptionComboBox option;
    option.initFrom(choice);
    option.editable = choice->isEditable();
    const int field =
        choice->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, choice)
            .width();
    for (int i = 0; i < choice->count(); ++i) {
        const int needed = choice->fontMetrics().horizontalAdvance(choice->itemText(i));
        if (needed > field)
            cut.append(QStringLiteral("%1 entry \"%2\" needs %3 of %4 pixels")
                           .arg(choice->objectName(), choice->itemText(i))
                           .arg(needed)
                           .arg(field));
    }
    return cut;
}

// Room a line edit leaves its text: the style's contents rectangle less
// the margins the edit keeps on either side.
constexpr int kLineEditSideMargin = 2;

// A spin box's edit is known by the spin box's name.
QString shownName(const QLineEdit* edit)
{
    if (qobject_cast<const QAbstractSpinBox*>(edit->parentWidget()))
        return edit->parentWidget()->objectName();
    return edit->objectName();
}

QStringList cutEdits(QWidget* dialog)
{
    QStringList cut;
    for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
        if (!edit->isVisible())
            continue;
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth =
            edit->hasFrame()
                ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                : 0;
        const QMargins margins = edit->textMargins();
        const int room =
            edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).width() -
            margins.left() - margins.right() - 2 * kLineEditSideMargin;
        const int needed = edit->fontMetrics().horizontalAdvance(edit->text());
        if (needed > room)
            cut.append(QStringLiteral("%1 \"%2\" needs %3 of %4 pixels")
                           .arg(shownName(edit), edit->text())
                           .arg(needed)
                           .arg(room));
    }
    return cut;
}

// A button's or group's text without its mnemonic marker.
QString shownText(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

QStringList cutDialogTexts(QWidget* dialog)
{
    QStringList cut;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        const int needed = label->sizeHint().width();
        if (label->isVisible() && label->width() < needed)
            cut.append(QStringLiteral("label \"%1\" is %2 of %3 pixels")
                           .arg(label->text())
                           .arg(label->width())
                           .arg(needed));
    }
    for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->width() < button->sizeHint().width())
            cut.append(QStringLiteral("button \"%1\" is %2 of %3 pixels")
                           .arg(shownText(button->text()))
                           .arg(button->width())
                           .arg(button->sizeHint().width()));
    }
    for (const QGroupBox* group : dialog->findChildren<QGroupBox*>()) {
        const int needed = group->fontMetrics().horizontalAdvance(shownText(group->title()));
        if (group->contentsRect().width() < needed)
            cut.append(QStringLiteral("group \"%1\" is %2 of %3 pixels")
                           .arg(shownText(group->title()))
                           .arg(group->contentsRect().width())
                           .arg(needed));
    }
    return cut;
}

} // namespace

class TestTextFit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void stripPlaceholders_data();
    void stripPlaceholders();
    void connectionColumns_data();
    void connectionColumns();
    void listHeadings_data();
    void listHeadings();
    void portChoice_data();
    void portChoice();

private:
    void languages();
    // The window of four boards in the row's language, at screenshot size.
    FMManager* openWindow(WindowKit& kit);

    QTranslator* translator = nullptr;
};

void TestTextFit::init()
{
    translator = nullptr;
}

void TestTextFit::cleanup()
{
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

void TestTextFit::languages()
{
    QTest::addColumn<QString>("lang");
    QTest::newRow("German") << "de";
    QTest::newRow("English") << "en";
}

FMManager* TestTextFit::openWindow(WindowKit& kit)
{
    QFETCH(QString, lang);
    kit.ini->setValue(QStringLiteral("Board/lang"), lang);
    kit.ini->setValue(QStringLiteral("Board/mods"), 4);
    translator =
        Startup::installLanguage(*kit.ini, *qobject_cast<QApplication*>(QCoreApplication::instance()));
    FMManager* window = kit.open();
    window->resize(kScreenshotSize);
    return window;
}

void TestTextFit::stripPlaceholders_data()
{
    languages();
}

// The working copy of a new installation: no strip has a source yet.
void TestTextFit::stripPlaceholders()
{
    WindowKit kit;
    FMManager* window = openWindow(kit);
    QTRY_COMPARE_WITH_TIMEOUT(window->size(), kScreenshotSize, WindowKit::kWaitMs);
    QStringList cut;
    int checked = 0;
    for (int channel = 1; channel <= FMSettings::kChannelCount; ++channel) {
        auto* strip = window->findChild<QWidget*>(QStringLiteral("channel%1").arg(channel));
        QVERIFY(strip);
        if (!strip->isVisible())
            continue;
        for (const char* field : {"rds", "audio"}) {
            auto* label = strip->findChild<QLabel*>(QLatin1String(field));
            QVERIFY(label->text().startsWith(QLatin1Char('<')));
            ++checked;
            const QString why = cutLabel(label);
            if (!why.isEmpty())
                cut.append(why);
        }
    }
    QVERIFY(checked >= 2 * 24);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.mid(0, 4).join(QLatin1Char('\n'))));
}

void TestTextFit::connectionColumns_data()
{
    languages();
}

// Four boards whose addresses differ only at the end, as on one network.
void TestTextFit::connectionColumns()
{
    WindowKit kit;
    FMManager* window = openWindow(kit);
    QTRY_COMPARE_WITH_TIMEOUT(window->size(), kScreenshotSize, WindowKit::kWaitMs);
    QList<BoardIP> boards;
    for (int n = 0; n < FMManager::kBoards; ++n) {
        BoardIP board;
        board.ipv4 = 0xC0A8C8FA + quint32(n); // 192.168.200.250 ..
        board.port = 1234;
        board.mac[5] = quint8(10 + n);
        boards.append(board);
    }
    FMConnect dialog(FMManager::kBoards, boards, window);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QStringList cut;
    for (const char* name : {"m1", "m2", "m3", "m4"}) {
        auto* table = dialog.findChild<QTableView*>(QLatin1String(name));
        QVERIFY(table->isVisible());
        QCOMPARE(table->model()->data(table->model()->index(0, 1)).toString(),
                 QStringLiteral("192.168.200.250"));
        cut.append(cutColumns(table));
        const int columns = table->horizontalHeader()->length();
        if (table->viewport()->width() < columns)
            cut.append(QStringLiteral("%1 shows %2 of %3 pixels of its columns")
                           .arg(QLatin1String(name))
                           .arg(table->viewport()->width())
                           .arg(columns));
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

void TestTextFit::listHeadings_data()
{
    languages();
}

// The event list of the event player and the TMC page's message list.
void TestTextFit::listHeadings()
{
    WindowKit kit;
    FMManager* window = openWindow(kit);
    QTRY_COMPARE_WITH_TIMEOUT(window->size(), kScreenshotSize, WindowKit::kWaitMs);
    QStringList cut;
    auto* events = window->findChild<QWidget*>(QStringLiteral("dynEdit"))
                       ->findChild<QTableView*>(QStringLiteral("list"));
    QVERIFY(events);
    const int time = std::max(events->horizontalHeader()->sectionSizeHint(0),
                              static_cast<QAbstractItemView*>(events)->sizeHintForColumn(0));
    if (events->columnWidth(0) < time)
        cut.append(QStringLiteral("event list time column is %1 of %2 pixels")
                       .arg(events->columnWidth(0))
                       .arg(time));
    QMetaObject::invokeMethod(window, "onTMC");
    auto* messages = window->findChild<QTableView*>(QStringLiteral("messages"));
    QVERIFY(messages);
    QTRY_VERIFY(messages->isVisible());
    cut.append(cutColumns(messages));
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

void TestTextFit::portChoice_data()
{
    languages();
}

// The board configuration dialog with ports as the system lists them: some
// with the driver's description, some with none.
void TestTextFit::portChoice()
{
    QFETCH(QString, lang);
    WindowKit kit;
    kit.ini->setValue(QStringLiteral("Board/lang"), lang);
    translator = Startup::installLanguage(
        *kit.ini, *qobject_cast<QApplication*>(QCoreApplication::instance()));
    auto* discover = new FMDiscover(0, 9);
    discover->setBroadcastAddresses({});
    FMCalib dialog(nullptr, discover);
    auto* com = dialog.findChild<QComboBox*>(QStringLiteral("com"));
    QVERIFY(com);
    const QList<std::pair<QString, QString>> ports{
        {QStringLiteral("ttyS0"), QString()},
        {QStringLiteral("ttyS31"), QString()},
        {QStringLiteral("ttyUSB0"), QStringLiteral("CP2102 USB to UART Bridge Controller")},
        {QStringLiteral("ttyACM0"), QStringLiteral("USB Serial Device")}};
    {
        // Listed as the dialog lists them, without choosing any of them.
        const QSignalBlocker quiet(com);
        for (const auto& [name, description] : ports)
            com->addItem(FMCalib::portText(name, description), name);
    }
    // The widest values a read of a board can show.
    auto* mac = dialog.findChild<QComboBox*>(QStringLiteral("mac"));
    {
        const QSignalBlocker quiet(mac);
        mac->addItem(QStringLiteral("00:1A:2B:3C:4D:5E"));
    }
    dialog.findChild<QLineEdit*>(QStringLiteral("host"))
        ->setText(QStringLiteral("192.168.200.250"));
    dialog.findChild<QSpinBox*>(QStringLiteral("pll1"))->setValue(-65915);
    dialog.findChild<QSpinBox*>(QStringLiteral("pll2"))->setValue(-65915);
    dialog.findChild<QSpinBox*>(QStringLiteral("port"))->setValue(65535);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QStringList cut = cutChoices(com);
    cut.append(cutChoices(mac));
    cut.append(cutEdits(&dialog));
    cut.append(cutDialogTexts(&dialog));
    com->showPopup();
    QTRY_VERIFY_WITH_TIMEOUT(com->view()->isVisible(), WindowKit::kWaitMs);
    const int widest = com->view()->sizeHintForColumn(0);
    if (com->view()->viewport()->width() < widest)
        cut.append(QStringLiteral("open port list is %1 of %2 pixels")
                       .arg(com->view()->viewport()->width())
                       .arg(widest));
    com->hidePopup();
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
