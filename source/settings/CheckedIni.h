#pragma once

#include <QSettings>

#include <functional>

// An ini file (the application's own) whose every write is checked on disk
// like the project's: a write the disk did not take keeps the previous file
// and its changes, and is told to the failure handler.
class CheckedIni : public QSettings
{
public:
    explicit CheckedIni(const QString& fileName, QObject* parent = nullptr);
    // Writes what is pending and checks it; a failure is logged.
    ~CheckedIni() override;

    // Writes pending changes now; true when the file holds every key.
    bool writeNow();
    // Why the last write failed; empty after a complete one.
    QString writeError() const { return lastWriteError; }
    // Called with the reason after every failed write (not at the end).
    void setFailureHandler(std::function<void(const QString& reason)> handler);

protected:
    // QSettings writes a moment after a change; that write is checked.
    bool event(QEvent* event) override;

private:
    // A disk that did not take a write is tried again after a pause, not
    // at once in a loop.
    static constexpr int kRetryDelayMs = 2000;

    bool write(bool retry);

    QString lastWriteError;
    bool retryScheduled = false;
    std::function<void(const QString&)> onFailure;
};
