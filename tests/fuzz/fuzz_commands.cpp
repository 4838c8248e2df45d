// Command lines and key paths through the store's command layer, as the
// control server and the timeline hand them in: "SET rds.1,3-5.ps TEXT",
// "ADD tmc.1 4 5 6 7", "DEL rds.1.eon.*", "GET channel", ... One line per
// command, the first word the verb; any other line is taken as a key path.
// Every input starts from the same project, so a finding replays alone.
#include "FuzzKit.h"

#include "settings/FMSettings.h"

namespace {

void runLine(FMSettings& store, QObject& listener, const QString& line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    const QString verb = line.left(blank).toUpper();
    const QString rest = blank < 0 ? QString() : line.mid(blank + 1);
    const qsizetype second = rest.indexOf(QLatin1Char(' '));
    const QString key = second < 0 ? rest : rest.left(second);
    const QString value = second < 0 ? QString() : rest.mid(second + 1);

    if (verb == QLatin1String("SET")) {
        store.set(key, value, true, nullptr);
    } else if (verb == QLatin1String("GET")) {
        store.get(key);
        for (const QString& listed : store.knownKeys(Settings::normalizeKey(key)))
            store.get(listed);
    } else if (verb == QLatin1String("ADD")) {
        store.add(key, value);
    } else if (verb == QLatin1String("DEL")) {
        store.del(key);
    } else if (verb == QLatin1String("HELP")) {
        store.help(key);
    } else if (verb == QLatin1String("REG")) {
        store.subscribe(Settings::normalizeKey(key), &listener);
    } else if (verb == QLatin1String("UNR")) {
        store.unsubscribe(Settings::normalizeKey(key), &listener);
    } else {
        const QString normalized = Settings::normalizeKey(line);
        QString prefix;
        QString tail;
        Settings::parseKey(normalized, prefix, tail);
        int instance = 0;
        FMSettings::resolveKey(line, &instance);
        store.get(line);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = FuzzKit::projectFile();
    {
        FMSettings store(path);
        QObject listener;
        store.subscribe(QStringLiteral("*"), &listener);
        for (const QByteArray& line : FuzzKit::lines(FuzzKit::bytes(data, size)))
            runLine(store, listener, QString::fromUtf8(line).trimmed());
        FuzzKit::settle();
    }
    FuzzKit::endInput();
    return 0;
}
