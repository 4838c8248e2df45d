#include "connect/FMUnlock.h"

#include "ui_UnlockUI.h"

#include <QHostAddress>
#include <QShowEvent>
#include <QStyle>

namespace {

// Ages of recent hosts come in tenths of a second; beyond this the board
// only says "a while ago".
constexpr int kRecentAgeLimit = 129;
constexpr int kIconSize = 32;

QString dotted(quint32 ipv4)
{
    return QHostAddress(ipv4).toString();
}

QString ownerName(const QByteArray& identity)
{
    QString name = QString::fromUtf8(identity.mid(1, BoardLock::kNameSize)).trimmed();
    while (name.endsWith(QChar(u'\0')))
        name.chop(1);
    return name;
}

} // namespace

FMUnlock::FMUnlock(QWidget* parent) : QDialog(parent), ui(new Ui::UnlockUI)
{
    ui->setupUi(this);
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint);
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    ui->icon->setPixmap(warning.pixmap(kIconSize, kIconSize));
}

FMUnlock::~FMUnlock()
{
    qDebug("~Unlock");
    delete ui;
}

void FMUnlock::setText(const BoardLock& lock, int boxNumber)
{
    QString text =
        tr("Der Modulator #%1 ist bereits verbunden mit:").arg(boxNumber, 3, 10, QChar(u'0'));
    text += QStringLiteral("\n\n%1 : %2 ").arg(dotted(lock.holderIpv4)).arg(lock.holderPort);
    text += QStringLiteral(" %1\n\n").arg(ownerName(lock.holderIdentity));
    text += recentHosts(lock);
    text += tr("Wenn die Verbindung gekapert wird, wird die andere getrennt.\n"
               "Evtl. dort laufende Messungen werden abgebrochen!");
    ui->label->setText(text);
}

QString FMUnlock::text() const
{
    return ui->label->text();
}

QString FMUnlock::recentHosts(const BoardLock& lock)
{
    QString block;
    for (const BoardLock::Client& client : lock.clients) {
        if (client.ipv4 == 0)
            continue;
        if (block.isEmpty())
            block = tr("zuletzt:") + QLatin1Char('\n');
        block += dotted(client.ipv4) + QStringLiteral(" : %1").arg(client.port);
        if (client.lastSeen > kRecentAgeLimit)
            block += tr(" vor einer Weile");
        else
            block += tr(" vor %1 Sekunden").arg(client.lastSeen / 10);
        block += QLatin1Char('\n');
    }
    if (!block.isEmpty())
        block += QLatin1Char('\n');
    return block;
}

void FMUnlock::accept()
{
    emit unlock(true);
    QDialog::accept();
}

void FMUnlock::reject()
{
    emit unlock(false);
    QDialog::reject();
}

// Centred over the tile that asks, so the user sees which board is meant.
void FMUnlock::showEvent(QShowEvent* event)
{
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->rect();
        const QSize frame = frameGeometry().size();
        const QPoint offset(qRound((area.width() - frame.width()) / 2.0),
                            qRound((area.height() - frame.height()) / 2.0));
        move(owner->mapToGlobal(area.topLeft() + offset));
    }
    QDialog::showEvent(event);
}
