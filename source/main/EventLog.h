#pragma once

#include "settings/Observer.h"

#include <QPlainTextEdit>
#include <QSharedPointer>

class FMSettings;

// Event log of the key changes, for now a placeholder that keeps the store
// and shows nothing: the log window with its key filter and time stamps
// comes later.
class EventLog : public QPlainTextEdit, public Observer
{
    Q_OBJECT
public:
    explicit EventLog(QWidget* parent = nullptr);
    ~EventLog() override;

    void observeAll(QSharedPointer<FMSettings> settings);
    QSharedPointer<FMSettings> settings() const { return store; }
    void notify(SetValue* event) override;

private:
    QSharedPointer<FMSettings> store;
};
