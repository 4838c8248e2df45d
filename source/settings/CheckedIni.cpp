#include "settings/CheckedIni.h"

#include "settings/IniWrite.h"

#include <QDebug>
#include <QEvent>
#include <QTimer>

CheckedIni::CheckedIni(const QString& fileName, QObject* parent)
    : QSettings(fileName, QSettings::IniFormat, parent)
{
}

CheckedIni::~CheckedIni()
{
    // Nothing is left pending for QSettings' own unchecked write at its end.
    write(false);
}

bool CheckedIni::event(QEvent* event)
{
    if (event->type() != QEvent::UpdateRequest)
        return QSettings::event(event);
    if (lastWriteError.isEmpty()) {
        write(true);
    } else if (!retryScheduled) {
        retryScheduled = true;
        QTimer::singleShot(kRetryDelayMs, this, [this] {
            retryScheduled = false;
            write(true);
        });
    }
    return true;
}

bool CheckedIni::writeNow()
{
    return write(true);
}

void CheckedIni::setFailureHandler(std::function<void(const QString&)> handler)
{
    onFailure = std::move(handler);
}

bool CheckedIni::write(bool retry)
{
    const bool failedBefore = !lastWriteError.isEmpty();
    lastWriteError = IniWrite::write(*this, retry);
    if (lastWriteError.isEmpty())
        return true;
    // Told once per failure, not at every retry.
    if (failedBefore)
        return false;
    qWarning("man: ini %s not written: %s; the previous file is kept", qPrintable(fileName()),
             qPrintable(lastWriteError));
    if (retry && onFailure)
        onFailure(lastWriteError);
    return false;
}
