// The window's side of the boards and the remote control: the server and
// the four board threads, their status lights, the on-air state, band and
// attenuation, and the board, port and band dialogs.
#include "main/FMManager.h"

#include "ui_FMManager.h"

#include "board/FMBoard.h"
#include "channels/ChannelView.h"
#include "channels/FMChannel.h"
#include "channels/Spectrum.h"
#include "channels/TabFlag.h"
#include "connect/FMBand.h"
#include "connect/FMCalib.h"
#include "connect/FMConnect.h"
#include "gui/ModalQuestions.h"
#include "remote/FMServer.h"
#include "remote/RDSServer.h"
#include "remote/dialog/Remote.h"
#include "settings/FMSettings.h"

#include <QDebug>
#include <QHostAddress>
#include <QLabel>
#include <QSettings>
#include <QTimer>

#include <algorithm>

namespace {

constexpr unsigned kDefaultRdsDataPort = 4001;
constexpr unsigned kDefaultOsciMHz = 52;

const QString kErrorLight = QStringLiteral(":/icons/error.png");
const QString kGreenLight = QStringLiteral(":/icons/ledgreen.png");
const QString kWarningLight = QStringLiteral(":/icons/errorwarning.png");

const QString kControlPortKey = QStringLiteral("Remote/portControl");
const QString kRdsPortKey = QStringLiteral("Remote/portRDSData");

QString boardKey(int position)
{
    return QStringLiteral("Board/%1").arg(position);
}

// A port from the ini within the range the port dialog offers, else the
// default: a hand-edited or damaged ini must not open some other port.
quint16 storedPort(const QSettings& ini, const QString& key, uint fallback, uint highest)
{
    const QVariant stored = ini.value(key);
    if (!stored.isValid())
        return quint16(fallback);
    bool number = false;
    const uint port = stored.toString().trimmed().toUInt(&number);
    if (number && port >= uint(Remote::kLowestPort) && port <= highest)
        return quint16(port);
    qDebug("man: %s=%s is no port of %d-%u, using %u", qPrintable(key),
           qPrintable(stored.toString()), Remote::kLowestPort, highest, fallback);
    return quint16(fallback);
}

quint16 controlPort(const QSettings& ini)
{
    return storedPort(ini, kControlPortKey, FMServer::kDefaultPort,
                      uint(Remote::kHighestControlPort));
}

quint16 rdsStartPort(const QSettings& ini)
{
    return storedPort(ini, kRdsPortKey, kDefaultRdsDataPort, uint(Remote::kHighestRdsStartPort));
}

} // namespace

void FMManager::startRemote()
{
    remoteServer = new FMServer(this);
    remoteServer->setPort(controlPort(*ini));
    connect(remoteServer, &FMServer::newFile, this, qOverload<const QString&>(&FMManager::newFile));
    connect(remoteServer, &FMServer::loadFile, this, &FMManager::openFile);
    connect(remoteServer, &FMServer::saveFile, this, &FMManager::saveFile);
    connect(remoteServer, &FMServer::onRemote, this,
            qOverload<uint, const QString&, uint>(&FMManager::onRemote));
    connect(remoteServer, &FMServer::onCD, this, &FMManager::onRemoteCD);
    connect(remoteServer, &FMServer::onBand, this, &FMManager::updateBand);
}

void FMManager::startBoard()
{
    const unsigned rdsPort = rdsStartPort(*ini);
    const unsigned osci = ini->value(QStringLiteral("Board/osci"), kDefaultOsciMHz).toUInt();
    RDSServer::serveProgrammes();
    for (int b = 0; b < kBoards; ++b) {
        auto* board = new FMBoard(b, rdsPort, osci);
        boards[b] = board;
        connect(board, &FMBoard::onair, this, &FMManager::showOnAir);
        connect(board, &FMBoard::online, this, &FMManager::online);
        connect(board, &FMBoard::offline, this, &FMManager::offline);
        connect(board, &FMBoard::boardInfo, this, &FMManager::boardInfo);
        connect(board, &FMBoard::userUnlock, this, &FMManager::userUnlock);
        connect(remoteServer, &FMServer::setOnAir, board, &FMBoard::setOnAir);
        connect(flag, &TabFlag::clickOnAir, board, &FMBoard::toggleOnAir);
        connect(ui->actOnAir, &QAction::triggered, board, &FMBoard::toggleOnAir);
        connect(ui->actDisconnect, &QAction::triggered, board, &FMBoard::disconnectRequest);
    }
    connect(flag, &TabFlag::clickBand, this, &FMManager::getFMBand);
    ini->remove(QStringLiteral("Board/host"));
    ini->remove(QStringLiteral("Board/port"));

    QList<BoardIP> stored;
    for (int b = 0; b < modCount; ++b)
        stored.append(storedBoard(b));
    connectBoards(modCount, stored);
}

// Every used position starts red. One board can be driven from one position
// only, so a position whose address repeats an earlier one stays without a
// board (an empty address counts as address 0 and repeats too).
void FMManager::connectBoards(int count, const QList<BoardIP>& list)
{
    QList<quint32> seen;
    int b = 0;
    for (; b < count && b < kBoards && b < list.size(); ++b) {
        const BoardIP& address = list[b];
        showPosition(b, true);
        offline(address, b);
        if (seen.contains(address.ipv4)) {
            boards[b]->connectTo(BoardIP());
            continue;
        }
        seen.append(address.ipv4);
        boards[b]->connectTo(address);
    }
    for (; b < kBoards; ++b) {
        showPosition(b, false);
        boards[b]->connectTo(BoardIP());
    }
}

void FMManager::showPosition(int position, bool shown)
{
    tiles[position]->setVisible(shown);
    boardLights[position]->setVisible(shown);
    boardLabels[position]->setVisible(shown);
}

BoardIP FMManager::storedBoard(int position) const
{
    return BoardIP::fromText(ini->value(boardKey(position)).toString());
}

void FMManager::storeBoard(int position, const BoardIP& address)
{
    ini->setValue(boardKey(position), address.toText());
}

void FMManager::offline(const BoardIP&, int position)
{
    if (position < 0 || position >= kBoards)
        return;
    onlineMask &= quint8(~(1u << position));
    tiles[position]->setState(1);
    boardLights[position]->setPixmap(QPixmap(kErrorLight));
    boardLights[position]->setToolTip(offlineTip(position));
    checkFlag();
}

// Boards are told apart by their IPv4 address: a position that repeats an
// earlier one's address gets no board, and its light says which one has it.
QString FMManager::offlineTip(int position) const
{
    const BoardIP address = storedBoard(position);
    for (int earlier = 0; earlier < position && address.ipv4 != 0; ++earlier) {
        if (storedBoard(earlier).ipv4 == address.ipv4)
            return tr("Nicht verbunden: %1 ist schon die IP-Adresse des %2. Modulators")
                .arg(QHostAddress(address.ipv4).toString())
                .arg(earlier + 1);
    }
    return tr("Modulator nicht verbunden");
}

void FMManager::online(const BoardIP&, int position)
{
    if (position < 0 || position >= kBoards)
        return;
    onlineMask |= quint8(1u << position);
    tiles[position]->setState(3);
    QLabel* light = boardLights[position];
    light->setPixmap(QPixmap(kGreenLight));
    light->setToolTip(QString());
    if (boards[position])
        light->setToolTip(QStringLiteral("v%1").arg(boards[position]->lastBoardInfo().firmware));
    checkFlag();
}

void FMManager::userUnlock(int position)
{
    if (position < 0 || position >= kBoards)
        return;
    boardLights[position]->setPixmap(QPixmap(kWarningLight));
    boardLights[position]->setToolTip(tr("Modulator extern verbunden"));
    tiles[position]->askUnlock(boards[position]);
}

void FMManager::showOnAir(bool on, int position)
{
    if (position < 0 || position >= kBoards)
        return;
    if (on)
        onAirMask |= quint8(1u << position);
    else
        onAirMask &= quint8(~(1u << position));
    checkFlag();
}

void FMManager::checkFlag()
{
    ui->actOnAir->setEnabled(onlineMask != 0);
    const bool air = onlineMask != 0 && onAirMask != 0;
    if (air == airShown)
        return;
    airShown = air;
    flag->setOnAir(air);
    if (store)
        store->publish(air ? QStringLiteral("modul.onair") : QStringLiteral("modul.offline"),
                       QString());
}

void FMManager::boardInfo(const BoardInfo& info, int position)
{
    if (position < 0 || position >= kBoards)
        return;
    qDebug("MOD: #%03d v%d", int(info.number), int(info.firmware));
    boardLabels[position]->show();
    boardLabels[position]->setText(info.serialText());
    BoardIP stored = storedBoard(position);
    if (stored.boxNumber() != info.number) {
        std::fill(stored.mac.begin(), stored.mac.begin() + 4, quint8(0));
        stored.mac[4] = quint8(info.number >> 8);
        stored.mac[5] = quint8(info.number & 0xFF);
        storeBoard(position, stored);
    }
    // Boards differ in their buffer sizes: each strip measures its fill
    // against its own board's.
    for (int i = 0; i < kChannelsPerBoard; ++i)
        strips[position * kChannelsPerBoard + i]->updateInfo(info);
    enableBoardActions();
    updateBand();
}

void FMManager::enableBoardActions()
{
    pages[2]->setEnabled(true);
    pages[3]->setEnabled(true);
    ui->tabRDS->setEnabled(true);
    ui->tabTMC->setEnabled(true);
    dirtyCheck->start();
}

void FMManager::updateBand()
{
    if (!store)
        return;
    int band = store->band();
    int attenuation = store->attenuation();
    for (FMBoard* b : boards) {
        if (b)
            b->setFMBand(band, attenuation);
    }
    store->setBandAttn(band, attenuation);
    flag->setBand(band, attenuation);
}

void FMManager::getFMBand()
{
    int band = store ? store->band() : 0;
    int attenuation = store ? store->attenuation() : 0;
    FMBand dialog(this, band, attenuation);
    if (ModalQuestions::exec(&dialog) != QDialog::Accepted)
        return;
    band = dialog.band();
    attenuation = dialog.attenuation();
    if (store)
        store->setBandAttn(band, attenuation);
    updateBand();
}

void FMManager::onConnect()
{
    QList<BoardIP> list;
    for (int b = 0; b < kBoards; ++b) {
        const BoardIP address = storedBoard(b);
        if (address.ipv4 == 0 || address.port == 0)
            continue;
        const bool known = std::any_of(list.cbegin(), list.cend(), [&](const BoardIP& other) {
            return other.ipv4 == address.ipv4;
        });
        if (!known)
            list.append(address);
    }
    FMConnect dialog(modCount, list, ui->tabFM);
    connect(&dialog, &FMConnect::connectTo, this, &FMManager::connectTo);
    ModalQuestions::exec(&dialog);
}

void FMManager::connectTo(int count, const QList<BoardIP>& list)
{
    qDebug("MOD: connectTo %d %d", count, int(list.size()));
    modCount = std::clamp(count, 1, kBoards);
    ini->setValue(QStringLiteral("Board/mods"), modCount);
    for (int b = 0; b < modCount && b < list.size(); ++b)
        storeBoard(b, list[b]);
    connectBoards(modCount, list);
    applyModulators();
}

void FMManager::applyModulators()
{
    if (!store)
        return;
    store->setModulatorCount(modCount);
    flag->spectrum()->setChannelCount(modCount * kChannelsPerBoard);
    enableBoardActions();
}

void FMManager::onRemote()
{
    Remote dialog(controlPort(*ini), rdsStartPort(*ini), this);
    if (ModalQuestions::exec(&dialog) != QDialog::Accepted)
        return;
    ini->setValue(kControlPortKey, dialog.portApp());
    ini->setValue(kRdsPortKey, dialog.portRDS());
    remoteServer->setPort(dialog.portApp());
    for (FMBoard* b : boards) {
        if (b)
            b->setPendingCommand(dialog.portRDS());
    }
}

void FMManager::onRemoteCD(const QString& path)
{
    ini->setValue(QStringLiteral("Remote/path"), path);
}

void FMManager::onRemote(uint port, const QString& text, uint error)
{
    remoteLight->setPixmap(QPixmap(kGreenLight));
    if (error != 0) {
        remoteLight->setPixmap(QPixmap(kErrorLight));
        remoteLight->setEnabled(true);
        remoteStatus->setToolTip(text);
        remoteLabel->setText(tr("Port Fehler"));
    } else if (port == 0) {
        remoteLight->setEnabled(false);
        remoteStatus->setToolTip(tr("Fernsteuerung inaktiv"));
        remoteLabel->setText(QString());
    } else if (!text.isEmpty()) {
        remoteLight->setEnabled(true);
        remoteStatus->setToolTip(tr("Ferngesteuert von: ") + text);
        remoteLabel->setText(text);
    } else {
        remoteLight->setEnabled(false);
        remoteStatus->setToolTip(tr("keine Fernsteuerung verbunden"));
        remoteLabel->setText(tr("Port %1").arg(port));
    }
}

void FMManager::onConfig()
{
    FMCalib dialog(this);
    ModalQuestions::exec(&dialog);
}
