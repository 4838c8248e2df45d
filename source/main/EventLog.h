#pragma once

#include "settings/Observer.h"

#include <QSharedPointer>
#include <QWidget>

class FMSettings;

namespace Ui {
class EventLogUI;
}

// Every key change of the open project, one time-stamped line each, whoever
// made it; the run-time keys the boards publish all the time stay out.
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

private:
    static bool isRunTimeKey(QStringView key);
    static QString debugText(const QVariant& value);

    Ui::EventLogUI* ui;
    QSharedPointer<FMSettings> store;
};
