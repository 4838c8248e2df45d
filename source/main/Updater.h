#pragma once

#include <QObject>

// Update check, for now a placeholder that asks nobody: the look-up at the
// maker's update service comes later.
class Updater : public QObject
{
    Q_OBJECT
public:
    explicit Updater(QObject* parent = nullptr);

    void check();

signals:
    void hasUpdate();
};
