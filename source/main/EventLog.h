#pragma once

#include "settings/Observer.h"

#include <QDateTime>
#include <QList>
#include <QSharedPointer>
#include <QVariant>
#include <QWidget>

class FMSettings;

namespace Ui {
class EventLogUI;
}

// Every key change of the open project, one time-stamped line each, whoever
// made it; the run-time keys the boards publish all the time stay out. While
// the log is out of sight its lines are kept (the newest kMaxLines, with the
// time of their change) and laid out when it is shown: a remote client
// setting keys in a loop must not pay for a text view nobody sees.
class EventLog : public QWidget, public Observer
{
    Q_OBJECT
public:
    static constexpr int kMaxLines = 600;

    explicit EventLog(QWidget* parent = nullptr);
    ~EventLog() override;

    // Follows every key of the store from now on, and no longer the old one.
    void observeAll(QSharedPointer<FMSettings> settings);
    QSharedPointer<FMSettings> settings() const { return store; }
    void notify(SetValue* event) override;
    // Adds the line with the time stamp of now.
    void append(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Line
    {
        // UTC: the local time is worked out when the line is shown, as
        // asking the time zone costs more than the rest of a hidden line.
        qint64 msecsSinceEpoch;
        QString text;
        // Of a change: the stored key and its value, made into text when shown.
        QString key;
        QVariant value;
    };
    static QString stamped(const QDateTime& time, const QString& text);
    // "channel.1.gain -5" for "channel.1/gain" = -5.
    static QString lineOf(const QString& key, const QVariant& value);
    static QString shownKey(const QString& key);
    void keep(Line&& line);
    void showWaitingLines();

    static bool isRunTimeKey(QStringView key);
    static QString debugText(const QVariant& value);

    Ui::EventLogUI* ui;
    QSharedPointer<FMSettings> store;
    QList<Line> waiting; // lines made while hidden, oldest first
};
