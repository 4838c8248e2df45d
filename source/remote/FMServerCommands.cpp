// The command interpreter of the control server. Scripts read these replies,
// so every text here is part of the protocol.
#include "remote/FMServer.h"

#include "remote/RemoteCommand.h"
#include "settings/FMSettings.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace {

const QString kCommandList =
    QStringLiteral("commands: REG UNR GET SET ADD DEL NEW LOAD SAVE CD DIR LIST HELP VER");
const QString kNoProject = QStringLiteral(" error: no project loaded");
const QString kNoHandler = QStringLiteral(" error: not available");
const QString kDefaultFilter = QStringLiteral("*.fm");

QString shownKey(QString key)
{
    return key.replace(QLatin1Char('/'), QLatin1Char('.'));
}

bool isFileCommand(const QString& command)
{
    static const QStringList kFileCommands{
        QStringLiteral("DIR"), QStringLiteral("LIST"), QStringLiteral("LS"),  QStringLiteral("CD"),
        QStringLiteral("NEW"), QStringLiteral("LOAD"), QStringLiteral("SAVE")};
    return kFileCommands.contains(command);
}

// 0 for text that is no decimal number or does not fit 32 bits.
int decimalOrZero(const QString& text)
{
    bool ok = false;
    const int number = text.toInt(&ok, 10);
    return ok ? number : 0;
}

} // namespace

void FMServer::execute(const QString& line)
{
    const RemoteCommand parsed = RemoteCommand::parse(line);
    const QString& command = parsed.command;
    const QString argument =
        isFileCommand(command) ? parsed.argument : Settings::normalizeKey(parsed.argument);
    const QString& value = parsed.value;

    if (command.isEmpty())
        return;
    if (command == QLatin1String("SET"))
        doSet(argument, value);
    else if (command == QLatin1String("VER"))
        sendInfo();
    else if (command == QLatin1String("AIR"))
        sendLine(airKey);
    else if (command == QLatin1String("GET"))
        doGet(argument);
    else if (command == QLatin1String("REG"))
        doReg(argument);
    else if (command == QLatin1String("UNR") || command == QLatin1String("UNREG"))
        doUnregister(argument);
    else if (command == QLatin1String("ADD"))
        doAdd(argument, value);
    else if (command == QLatin1String("DEL"))
        doDel(argument);
    else if (command == QLatin1String("HELP") || command == QLatin1String("?"))
        doHelp(argument);
    else if (command == QLatin1String("NEW"))
        doNew(argument);
    else if (command == QLatin1String("LOAD"))
        doLoad(argument);
    else if (command == QLatin1String("SAVE"))
        doSave(argument);
    else if (command == QLatin1String("CD"))
        doCd(argument);
    else if (command == QLatin1String("LIST") || command == QLatin1String("LS") ||
             command == QLatin1String("DIR"))
        doList(argument, value);
    else
        sendLine(kCommandList);
}

// The main window hands the server a store before it listens, but it may
// take it away again while a client stays connected.
bool FMServer::needProject(const QString& command)
{
    if (settings)
        return true;
    sendLine(command + kNoProject);
    return false;
}

QString FMServer::filePath(const QString& name) const
{
    if (QDir::isAbsolutePath(name))
        return name;
    return QDir(currentDir).filePath(name);
}

void FMServer::doSet(const QString& key, const QString& value)
{
    if (key == QLatin1String("rdslog")) {
        rdsLogFormat.set(value);
        sendLine(QStringLiteral("SET ok: rdslog = ") + value);
        return;
    }
    if (key == QLatin1String("board.band") || key == QLatin1String("board.attn")) {
        setBoard(key, value);
        return;
    }
    if (key.startsWith(QLatin1String("modul.off"))) {
        emit setOnAir(false);
        sendLine(QStringLiteral("SET modul.offline"));
        return;
    }
    if (key.startsWith(QLatin1String("modul.on"))) {
        emit setOnAir(true);
        sendLine(QStringLiteral("SET modul.onair"));
        return;
    }
    if (key.isEmpty()) {
        sendLine(QStringLiteral("set key value example: SET channel.1.freq 95.8"));
        return;
    }
    if (value.isEmpty()) {
        sendLine(QStringLiteral("SET error: missing data value"));
        return;
    }
    if (!needProject(QStringLiteral("SET")))
        return;
    const int code = settings->set(key, value, true, nullptr);
    if (code == FMSettings::NoError)
        rememberUnstored(shownKey(key));
    if (code == FMSettings::NoError || code == FMSettings::Unchanged)
        sendLine(QStringLiteral("SET ok: ") + shownKey(key) + QStringLiteral(" = ") + value);
    else
        sendLine(QStringLiteral("SET error: ") + settings->errorText(code));
}

void FMServer::rememberUnstored(const QString& shownKey)
{
    if (unstoredKeys.contains(shownKey))
        return;
    if (unstoredKeys.size() < kUnstoredKeysShown)
        unstoredKeys.append(shownKey);
    else
        ++unstoredMore;
}

void FMServer::onProjectWritten(bool complete)
{
    const QStringList keys = std::exchange(unstoredKeys, {});
    const int more = std::exchange(unstoredMore, 0);
    if (complete || keys.isEmpty() || !settings)
        return;
    const QString reason = settings->writeError();
    for (const QString& key : keys)
        sendLine(QStringLiteral("SET error: ") + key + QStringLiteral(" not stored: ") + reason);
    if (more > 0)
        sendLine(QStringLiteral("SET error: %1 more changes not stored: ").arg(more) + reason);
}

// The reply names the number as parsed; the store may clamp it.
void FMServer::setBoard(const QString& key, const QString& value)
{
    if (!needProject(QStringLiteral("SET")))
        return;
    const int parsed = decimalOrZero(value);
    const bool isBand = key == QLatin1String("board.band");
    int band = isBand ? parsed : settings->band();
    int attenuation = isBand ? settings->attenuation() : parsed;
    settings->setBandAttn(band, attenuation);
    emit onBand();
    sendLine(QStringLiteral("SET ok: ") + key + QStringLiteral(" = ") + QString::number(parsed));
}

void FMServer::doGet(const QString& key)
{
    if (key == QLatin1String("modul")) {
        sendLine(airKey);
        return;
    }
    if (key.startsWith(QLatin1String("modul.inf")) || key.startsWith(QLatin1String("modul.ver"))) {
        sendInfo();
        return;
    }
    if (key.isEmpty()) {
        sendLine(QStringLiteral("get key example: GET channel.1.freq"));
        return;
    }
    const bool band = key == QLatin1String("board.band") || key == QLatin1String("band");
    const bool attn = key == QLatin1String("board.attn") || key == QLatin1String("attn");
    if (!needProject(QStringLiteral("GET")))
        return;
    if (band) {
        sendLine(QStringLiteral("board.band ") + QString::number(settings->band()));
        return;
    }
    if (attn) {
        sendLine(QStringLiteral("board.attn ") + QString::number(settings->attenuation()));
        return;
    }

    QString path = key;
    while (path.endsWith(QLatin1Char('*')) || path.endsWith(QLatin1Char('.')) ||
           path.endsWith(QLatin1Char('/')))
        path.chop(1);
    QString prefix;
    QString rest;
    // parseKey keeps ranges within the instance numbers that exist.
    const QList<int> instances = Settings::parseKey(path, prefix, rest);
    if (instances.isEmpty()) {
        listKeys(path);
        return;
    }
    for (int instance : instances)
        listKeys(prefix + QString::number(instance) + rest);
}

// A family path ("channel") lists its groups; those are opened one level so
// that GET channel.* shows every key of every channel.
void FMServer::listKeys(const QString& path)
{
    const QStringList keys = settings->knownKeys(path);
    if (keys.isEmpty()) {
        sendLine(QStringLiteral("GET error: no key ") + path);
        return;
    }
    for (const QString& key : keys) {
        const QVariant value = settings->get(key);
        const QStringList below =
            value.isValid() || key == path ? QStringList() : settings->knownKeys(key);
        if (below.isEmpty() || below == QStringList{key}) {
            sendLine(key, value);
            continue;
        }
        for (const QString& inner : below)
            sendLine(inner, settings->get(inner));
    }
}

void FMServer::doReg(const QString& key)
{
    if (key.isEmpty()) {
        sendLine(QStringLiteral("register key example: REG channel.1"));
        return;
    }
    if (!needProject(QStringLiteral("REG")))
        return;
    if (registered.size() >= kMaxRegistrations) {
        sendLine(QStringLiteral("REG error: too many registrations (%1)").arg(kMaxRegistrations));
        return;
    }
    if (!settings->subscribe(key, this)) {
        sendLine(QStringLiteral("REG error: key is already registered"));
        return;
    }
    registered.append(shownKey(key));
    sendLine(QStringLiteral("REG ok: ") + shownKey(key));
}

void FMServer::doUnregister(const QString& key)
{
    if (key.isEmpty()) {
        sendLine(QStringLiteral("unregister key example: UNR channel.1"));
        return;
    }
    if (!needProject(QStringLiteral("UNR")))
        return;
    if (!settings->unsubscribe(key, this)) {
        sendLine(QStringLiteral("UNR error: key is not registered"));
        return;
    }
    sendLine(QStringLiteral("UNR ok: ") + shownKey(key));
    registered.removeAll(shownKey(key));
}

void FMServer::doAdd(const QString& key, const QString& value)
{
    if (key.isEmpty()) {
        sendLine(QStringLiteral("add list item example: ADD tmc.1 4 5 6 7]"));
        return;
    }
    if (!needProject(QStringLiteral("ADD")))
        return;
    const int code = settings->add(key, value);
    if (code == FMSettings::NoError)
        sendLine(QStringLiteral("ADD ok: ") + shownKey(key));
    else
        sendLine(QStringLiteral("ADD error: ") + shownKey(key) + QLatin1Char(' ') +
                 settings->errorText(code));
}

void FMServer::doDel(const QString& key)
{
    if (key.isEmpty()) {
        sendLine(QStringLiteral("delete list.item example: DEL rds.1.eon.1 DEL tmc.1.*"));
        return;
    }
    if (!needProject(QStringLiteral("DEL")))
        return;
    const int code = settings->del(key);
    if (code == FMSettings::NoError)
        sendLine(QStringLiteral("DEL ok: ") + shownKey(key));
    else
        sendLine(QStringLiteral("DEL error: ") + shownKey(key) + QLatin1Char(' ') +
                 settings->errorText(code));
}

void FMServer::doHelp(const QString& key)
{
    if (key.isEmpty()) {
        sendLine(QStringLiteral("usage: HELP key (get info about key) example: HELP rds.1.tp"));
        return;
    }
    if (!needProject(QStringLiteral("HELP")))
        return;
    const QString text = settings->help(key);
    if (text.isEmpty())
        sendLine(QStringLiteral("HELP: no info about ") + shownKey(key));
    else
        sendLine(shownKey(key) + QStringLiteral(": ") + text);
}

void FMServer::doNew(const QString& argument)
{
    if (argument.isEmpty()) {
        sendLine(QStringLiteral("usage: NEW filename"));
        return;
    }
    if (!hasReceiver(QMetaMethod::fromSignal(&FMServer::newFile))) {
        sendLine(QStringLiteral("NEW") + kNoHandler);
        return;
    }
    const QString answer = emit newFile(filePath(argument));
    if (answer.isEmpty())
        sendLine(QStringLiteral("NEW ok: ") + argument);
    else
        sendLine(QStringLiteral("NEW error: ") + answer);
}

void FMServer::doLoad(const QString& argument)
{
    if (argument.isEmpty()) {
        sendLine(QStringLiteral("usage: LOAD filename"));
        return;
    }
    if (!hasReceiver(QMetaMethod::fromSignal(&FMServer::loadFile))) {
        sendLine(QStringLiteral("LOAD") + kNoHandler);
        return;
    }
    // Success is answered by setProject() once the main window has the store.
    const QString answer = emit loadFile(filePath(argument));
    if (!answer.isEmpty())
        sendLine(QStringLiteral("LOAD error: ") + answer);
}

void FMServer::doSave(const QString& argument)
{
    if (argument.isEmpty()) {
        sendLine(QStringLiteral("usage: SAVE filename"));
        return;
    }
    const bool connected = hasReceiver(QMetaMethod::fromSignal(&FMServer::saveFile));
    const bool written = connected && emit saveFile(filePath(argument));
    if (written && settings && !settings->isDirty())
        sendLine(QStringLiteral("SAVE ok: ") + argument);
    else
        sendLine(QStringLiteral("SAVE error: ") + argument);
}

void FMServer::doCd(const QString& argument)
{
    QDir dir(currentDir);
    if (!dir.cd(argument.isEmpty() ? QStringLiteral(".") : argument)) {
        sendLine(QStringLiteral("path invalid, current: ") + currentDir);
        return;
    }
    currentDir = dir.absolutePath();
    sendLine(QStringLiteral("path ") + currentDir);
    emit onCD(currentDir);
}

void FMServer::doList(const QString& argument, const QString& value)
{
    const QString target = argument.isEmpty() ? QStringLiteral(".") : argument;
    QDir dir(currentDir);
    const bool changed = dir.cd(target);
    sendLine(QStringLiteral("path ") + dir.absolutePath());

    const QString filter = changed ? (value.isEmpty() ? kDefaultFilter : value) : target;
    dir.setNameFilters(QDir::nameFiltersFromString(filter));
    dir.setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
    dir.setSorting(QDir::DirsFirst | QDir::Name);
    for (const QFileInfo& entry : dir.entryInfoList()) {
        if (entry.isDir())
            sendLine(QStringLiteral("dir ") + entry.fileName());
        else
            sendLine(QStringLiteral("file ") + entry.fileName());
    }
}
