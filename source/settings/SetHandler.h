#pragma once

#include <QObject>

// Event filter that hands a delivered SetValue to the watched Observer.
// A listener creates one with itself as parent and installs it on itself.
class SetHandler : public QObject
{
    Q_OBJECT
public:
    explicit SetHandler(QObject* parent = nullptr);

    bool eventFilter(QObject* watched, QEvent* event) override;
};
