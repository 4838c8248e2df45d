#include "connect/FMCalib.h"

#include "ui_BoardConfigUI.h"

#include "board/FMDiscover.h"
#include "connect/BoardConfigLines.h"
#include "gui/ModalQuestions.h"

#include <QDebug>
#include <QHostAddress>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace {

constexpr int kFirstLoadMs = 200;
constexpr int kBaudRate = 115200;
const QString kBroadcastData = QStringLiteral("UDP");

qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

FMCalib::Clock& replyClock()
{
    static FMCalib::Clock current = steadyMs;
    return current;
}

} // namespace

void FMCalib::setClock(Clock next)
{
    replyClock() = next ? std::move(next) : Clock(steadyMs);
}

FMCalib::FMCalib(QWidget* parent, FMDiscover* discover)
    : QDialog(parent, Qt::WindowCloseButtonHint), ui(std::make_unique<Ui::BoardConfigUI>()),
      discoverer(discover ? discover : new FMDiscover(this)), pacer(new QTimer(this)),
      replyWatch(new QTimer(this))
{
    discoverer->setParent(this);
    ui->setupUi(this);
    setObjectName(QStringLiteral("FMCalib"));
    pacer->setObjectName(QStringLiteral("pacer"));
    pacer->setSingleShot(true);
    pacer->setTimerType(Qt::PreciseTimer);
    connect(pacer, &QTimer::timeout, this, &FMCalib::sendDataLinesWait);
    replyWatch->setObjectName(QStringLiteral("replyWatch"));
    replyWatch->setInterval(kReplyPollMs);
    connect(replyWatch, &QTimer::timeout, this, &FMCalib::checkReply);
    connect(ui->com, &QComboBox::currentIndexChanged, this, &FMCalib::loadConfig);
    connect(ui->mac, &QComboBox::currentIndexChanged, this, &FMCalib::loadIPPort);
    connect(discoverer, &FMDiscover::found, this, &FMCalib::found);
    connect(ui->Bset, &QPushButton::clicked, this, &FMCalib::accept);
    connect(ui->Bcancel, &QPushButton::clicked, this, &FMCalib::reject);
    fillPorts();
    QTimer::singleShot(kFirstLoadMs, this, &FMCalib::loadConfig);
}

FMCalib::~FMCalib()
{
    closePort();
    qDebug("~Calib");
}

QString FMCalib::portText(const QString& name, const QString& description)
{
    if (description.trimmed().isEmpty())
        return name;
    return name + QStringLiteral(" (") + description.trimmed() + QLatin1Char(')');
}

void FMCalib::fillPorts()
{
    const QString current = ui->com->currentText();
    const QSignalBlocker blocker(ui->com);
    ui->com->clear();
    ui->com->addItem(QStringLiteral("UDP Broadcast (no PLL)"), kBroadcastData);
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports)
        ui->com->addItem(portText(info.portName(), info.description()), info.portName());
    const int index = ui->com->findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        ui->com->setCurrentIndex(index);
}

// Every new choice starts afresh: lines still queued for the previous port
// belong to that board and must not reach the next one.
void FMCalib::loadConfig()
{
    setWindowTitle(tr("Modulator konfigurieren"));
    discoverer->halt();
    ui->mac->clear();
    ui->Bset->setEnabled(false);
    setEditable(false, false);
    boards.clear();
    readStep = 0;
    sendQueue.clear();
    pacer->stop();
    replyWatch->stop();
    if (openPort(ui->com->currentData().toString())) {
        sendDataLine(BoardConfigLines::read(0));
        return;
    }
    ModalQuestions::ask(this, QMessageBox::Warning, tr("Port Fehler"),
                        QStringLiteral("Port ") + ui->com->currentText() +
                            tr(" kann nicht geöffnet werden.\nBitte überprüfen Sie, ob ein "
                               "anderes Programm darauf zugreift."),
                        QMessageBox::Ok);
}

bool FMCalib::openPort(const QString& name)
{
    closePort();
    if (name.startsWith(kBroadcastData)) {
        discoverer->discover();
        return true;
    }
    serial = new QSerialPort(name, this);
    serial->setBaudRate(kBaudRate);
    serial->setDataBits(QSerialPort::Data8);
    serial->setParity(QSerialPort::NoParity);
    serial->setStopBits(QSerialPort::OneStop);
    serial->setFlowControl(QSerialPort::NoFlowControl);
    connect(serial, &QSerialPort::readyRead, this, &FMCalib::readData);
    connect(serial, &QSerialPort::errorOccurred, this, &FMCalib::handleError);
    if (!serial->open(QIODevice::ReadWrite)) {
        qDebug("Cal: port %s could not be opened: %d", qPrintable(name), int(serial->error()));
        closePort();
        return false;
    }
    qDebug("Cal: port %s opened %d", qPrintable(name), serial->isWritable() ? 1 : 0);
    return true;
}

void FMCalib::closePort()
{
    replyWatch->stop();
    if (!serial)
        return;
    serial->disconnect(this);
    serial->close();
    serial->deleteLater();
    serial = nullptr;
}

// A burst of replies can arrive in one piece; every complete line is used,
// or the lines after the first would wait for a signal that never comes.
void FMCalib::readData()
{
    while (serial && serial->canReadLine()) {
        const QByteArray line = serial->readLine().trimmed();
        qDebug() << "Cal:" << readStep << line;
        useReply(line);
    }
}

void FMCalib::useReply(const QByteArray& line)
{
    switch (readStep) {
    case 0:
        if (!BoardConfigLines::knownIdentity(line)) {
            readStep = kRefused;
            replyWatch->stop();
            return;
        }
        break;
    case 1:
        setWindowTitle(tr("Modulator v%1 an %2")
                           .arg(BoardConfigLines::word(line))
                           .arg(ui->com->currentText().section(QLatin1Char(' '), 0, 0)));
        macDigits.clear();
        break;
    case 2:
    case 3:
    case 4:
        macDigits += line;
        break;
    case 5:
        ui->mac->addItem(BoardConfigLines::macText(macDigits));
        addressDigits = line;
        break;
    case 6:
        addressDigits += line;
        ui->host->setText(BoardConfigLines::hostText(addressDigits));
        break;
    case 7:
        ui->port->setValue(int(BoardConfigLines::word(line)));
        break;
    case 8:
        ui->pll1->setValue(BoardConfigLines::pllOffset(BoardConfigLines::word(line)));
        break;
    case 9:
        ui->pll2->setValue(BoardConfigLines::pllOffset(BoardConfigLines::word(line)));
        break;
    default:
        return;
    }
    readNext();
}

void FMCalib::readNext()
{
    if (readStep < BoardConfigLines::kRegisters - 1) {
        ++readStep;
        sendDataLine(BoardConfigLines::read(readStep));
        return;
    }
    readStep = kReadDone;
    replyWatch->stop();
    ui->Bset->setEnabled(true);
    setEditable(true, true);
    qDebug("Cal: load MAC [%s] IP [%s] : %d", qPrintable(ui->mac->currentText()),
           qPrintable(ui->host->text()), ui->port->value());
}

void FMCalib::setEditable(bool pll, bool address)
{
    ui->pll1->setEnabled(pll);
    ui->pll2->setEnabled(pll);
    ui->host->setEnabled(address);
    ui->port->setEnabled(address);
}

void FMCalib::handleError()
{
    if (serial)
        qDebug() << "Cal: error" << serial->errorString();
}

void FMCalib::sendDataLine(const QByteArray& line)
{
    if (!serial)
        return;
    qDebug("Cal: > %s", line.constData());
    writeLine(line);
    askedAt = replyClock()();
    replyWatch->start();
}

// Without an answer (no board on the port, a loose cable) the fields would
// stay locked for good: after a while the user gets them back, with the
// values as far as they were read.
void FMCalib::checkReply()
{
    if (readStep >= kReadDone || !serial) {
        replyWatch->stop();
        return;
    }
    if (replyClock()() - askedAt < kReplyTimeoutMs)
        return;
    replyWatch->stop();
    qDebug("Cal: no reply to R%02d", readStep);
    readStep = kReadDone;
    ui->Bset->setEnabled(true);
    setEditable(true, true);
    ModalQuestions::ask(this, QMessageBox::Warning, tr("Keine Antwort"),
                        tr("Der Modulator an %1 antwortet nicht.\nDie Felder sind wieder "
                           "freigegeben; sie zeigen, was bis dahin gelesen wurde.")
                            .arg(ui->com->currentText().section(QLatin1Char(' '), 0, 0)),
                        QMessageBox::Ok);
}

void FMCalib::writeLine(const QByteArray& line)
{
    if (serial->write(line + "\r\n") < 1)
        qDebug("Cal: sent failed [%s] %s", line.constData(), qPrintable(serial->errorString()));
}

// The one chain of paced writes: each line restarts the pacer, a line that
// is due early waits for the rest of its gap.
void FMCalib::sendDataLinesWait()
{
    if (sendQueue.isEmpty() || !serial)
        return;
    if (lastSent.isValid() && lastSent.elapsed() < kPaceMs) {
        pacer->start(int(kPaceMs - lastSent.elapsed()));
        return;
    }
    const QByteArray line = sendQueue.takeFirst();
    qDebug("Cal: w %s", line.constData());
    lastSent.start();
    writeLine(line);
    pacer->start(kPaceMs);
}

void FMCalib::found(const BoardIP& board)
{
    const QString mac = board.macText();
    if (boards.contains(mac))
        return;
    ui->mac->addItem(mac);
    ui->Bset->setEnabled(true);
    setEditable(ui->pll1->isEnabled(), true);
    boards.insert(mac, QStringLiteral("%1:%2").arg(board.ipv4).arg(board.port));
    loadIPPort();
    qDebug() << "Cal: found" << board;
}

void FMCalib::loadIPPort()
{
    const QStringList parts = boards.value(ui->mac->currentText()).split(QLatin1Char(':'));
    if (parts.size() < 2)
        return;
    bool fits = false;
    const quint32 ipv4 = parts[0].toUInt(&fits);
    ui->host->setText(QHostAddress(fits ? ipv4 : 0).toString());
    ui->port->setValue(parts[1].toInt());
}

bool FMCalib::broadcastChosen() const
{
    return ui->com->currentText().startsWith(kBroadcastData);
}

void FMCalib::accept()
{
    if (broadcastChosen())
        saveByBroadcast();
    else
        saveBySerialLine();
}

void FMCalib::saveByBroadcast()
{
    QString digits = ui->mac->currentText();
    digits.remove(QLatin1Char(':'));
    const QByteArray bytes = QByteArray::fromHex(digits.toLatin1());
    const bool hex = std::all_of(digits.cbegin(), digits.cend(), [](QChar c) {
        return c.isDigit() || QStringLiteral("abcdefABCDEF").contains(c);
    });
    if (!hex || digits.size() != 12 || bytes.size() != 6)
        return;
    std::array<quint8, 6> mac{};
    std::copy(bytes.cbegin(), bytes.cend(), mac.begin());
    const std::optional<quint32> ipv4 = hostAddress();
    if (!ipv4)
        return;
    discoverer->sendConfig(mac, *ipv4, quint16(ui->port->value()));
}

// A board told to take an address that is none may be out of reach for
// good, so such a text is refused before anything is sent.
std::optional<quint32> FMCalib::hostAddress()
{
    const QString host = ui->host->text();
    const std::optional<quint32> ipv4 = BoardConfigLines::ipv4(host);
    if (ipv4)
        return ipv4;
    qDebug("Cal: host [%s] is no address, nothing sent", qPrintable(host));
    ModalQuestions::ask(this, QMessageBox::Warning, tr("IP-Adresse ungültig"),
                        tr("\"%1\" ist keine IP-Adresse: vier Zahlen von 0 bis 255, durch "
                           "Punkte getrennt.\nEs wurde nichts gesendet.")
                            .arg(host),
                        QMessageBox::Ok);
    return std::nullopt;
}

// A second save while lines are still going out replaces what is left of
// the sequence; the running chain carries it on, so the pace stays.
void FMCalib::saveBySerialLine()
{
    if (!serial || !serial->isOpen() || readStep != kReadDone || !hostAddress())
        return;
    qDebug("Cal: save MAC [%s] IP [%s] : %d", qPrintable(ui->mac->currentText()),
           qPrintable(ui->host->text()), ui->port->value());
    sendQueue = BoardConfigLines::writeSequence(ui->host->text(), ui->port->value(),
                                                ui->pll1->value(), ui->pll2->value());
    if (!pacer->isActive())
        sendDataLinesWait();
}
