// The manual, German and English, against the program it describes: the
// menu entries it names in italics are the window's, every Ctrl shortcut it
// names does what it says, it names the page keys, its command list is the
// control server's, and its example exchanges are the server's replies.
#include "WindowKit.h"

#include "LineClient.h"
#include "main/Startup.h"
#include "remote/FMServer.h"

#include <QKeySequence>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTranslator>

namespace {

constexpr int kAudioPage = 1;

QString manualText(const QString& lang)
{
    QFile file(QStringLiteral(TEST_SOURCE_ROOT "/resources/manual/Quorvin_%1.md").arg(lang));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no manual %s", qPrintable(file.fileName()));
    return QString::fromUtf8(file.readAll());
}

QStringList captures(const QString& text, const QString& pattern, int group = 1)
{
    QStringList found;
    auto matches = QRegularExpression(pattern).globalMatch(text);
    while (matches.hasNext())
        found.append(matches.next().captured(group));
    return found;
}

// "Strg+Bild ab" and "Ctrl+Page Down" as the key sequence they stand for.
QKeySequence keysOf(QString written)
{
    const std::pair<const char*, const char*> names[] = {
        {"Strg", "Ctrl"},       {"Bild ab", "PgDown"},   {"Bild auf", "PgUp"}, {"Pos1", "Home"},
        {"Page Down", "PgDown"}, {"Page Up", "PgUp"}};
    for (const auto& [local, portable] : names)
        written.replace(QLatin1String(local), QLatin1String(portable));
    return QKeySequence::fromString(written, QKeySequence::PortableText);
}

} // namespace

class TestManual : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void menuEntries_data();
    void menuEntries();
    void shortcuts_data();
    void shortcuts();
    void serverCommands_data();
    void serverCommands();

private:
    void languages();
    FMManager* openWindow(WindowKit& kit);

    QTranslator* translator = nullptr;
};

void TestManual::init()
{
    translator = nullptr;
}

void TestManual::cleanup()
{
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

void TestManual::languages()
{
    QTest::addColumn<QString>("lang");
    QTest::newRow("German") << "de";
    QTest::newRow("English") << "en";
}

FMManager* TestManual::openWindow(WindowKit& kit)
{
    QFETCH(QString, lang);
    kit.ini->setValue(QStringLiteral("Board/lang"), lang);
    translator =
        Startup::installLanguage(*kit.ini, *qobject_cast<QApplication*>(QCoreApplication::instance()));
    return kit.open();
}

void TestManual::menuEntries_data()
{
    languages();
}

void TestManual::menuEntries()
{
    QFETCH(QString, lang);
    WindowKit kit;
    FMManager* window = openWindow(kit);
    QStringList entries;
    for (QAction* action : window->findChildren<QAction*>())
        entries.append(action->text().remove(QLatin1Char('&')));

    const QStringList named =
        captures(manualText(lang), QStringLiteral("(?<![*\\w])\\*([^*\\n]+)\\*(?![*\\w])"));
    QVERIFY(named.size() >= 10);
    QStringList unknown;
    for (const QString& entry : named) {
        if (!entries.contains(entry))
            unknown.append(entry);
    }
    QVERIFY2(unknown.isEmpty(), qPrintable(unknown.join(QStringLiteral(" | "))));
}

void TestManual::shortcuts_data()
{
    languages();
}

// A shortcut is a menu entry's, or one of the window's page keys, which
// leave the second page.
void TestManual::shortcuts()
{
    QFETCH(QString, lang);
    WindowKit kit;
    FMManager* window = openWindow(kit);
    QList<QKeySequence> menuKeys;
    for (QAction* action : window->findChildren<QAction*>())
        menuKeys.append(action->shortcuts());
    auto* pages = kit.find<QStackedWidget>(QStringLiteral("stackedWidget"));

    const QString manual = manualText(lang);
    const QStringList written = captures(
        manual, QStringLiteral("\\b(?:Ctrl|Strg)\\+(?:Page Down|Page Up|Bild ab|Bild auf|Pos1|Home|"
                               "[A-Z0-9])(?![\\w])"),
        0);
    QVERIFY(written.size() >= 10);
    QList<QKeySequence> pageKeys;
    for (const QString& text : written) {
        const QKeySequence keys = keysOf(text);
        QVERIFY2(keys.count() == 1, qPrintable(text));
        if (menuKeys.contains(keys))
            continue;
        QMetaObject::invokeMethod(window, "onAudio");
        QCOMPARE(pages->currentIndex(), kAudioPage);
        const QKeyCombination combination = keys[0];
        QTest::keyClick(window, combination.key(), combination.keyboardModifiers());
        QVERIFY2(pages->currentIndex() != kAudioPage, qPrintable(text + " does nothing"));
        pageKeys.append(keys);
    }
    for (const char* key : {"Ctrl+PgDown", "Ctrl+PgUp", "Ctrl+Home"})
        QVERIFY2(pageKeys.contains(QKeySequence::fromString(QLatin1String(key))),
                 qPrintable(QStringLiteral("the manual does not name ") + QLatin1String(key)));
}

void TestManual::serverCommands_data()
{
    languages();
}

// The exchanges run in the order the manual gives them, on the window's
// working copy.
void TestManual::serverCommands()
{
    QFETCH(QString, lang);
    WindowKit kit;
    FMManager* window = openWindow(kit);
    QTRY_VERIFY_WITH_TIMEOUT(window->server()->isListening(), WindowKit::kWaitMs);
    LineClient client;
    QVERIFY(client.connectTo(window->server()->listeningPort()));
    client.takeUntil(FMServer::infoLine());

    const QString manual = manualText(lang);
    const QStringList lists = captures(manual, QStringLiteral("`((?:[A-Z]{2,} )+[A-Z]{2,})`"));
    QCOMPARE(lists.size(), 1);
    client.send("NOSUCHCOMMAND\r\n");
    QCOMPARE(client.takeStartingWith(QStringLiteral("commands: ")),
             QStringLiteral("commands: ") + lists.constFirst());

    auto exchanges = QRegularExpression(QStringLiteral("`([^`]+)` → `([^`]+)`")).globalMatch(manual);
    int checked = 0;
    while (exchanges.hasNext()) {
        const auto exchange = exchanges.next();
        client.send(exchange.captured(1).toUtf8() + "\r\nVER\r\n");
        const QStringList replies = client.takeUntil(FMServer::infoLine());
        QVERIFY2(replies.contains(exchange.captured(2)),
                 qPrintable(exchange.captured(1) + QStringLiteral(" answers ") +
                            replies.join(QStringLiteral(" | "))));
        ++checked;
    }
    QVERIFY(checked >= 2);
}

QTEST_MAIN(TestManual)
#include "tst_manual.moc"
