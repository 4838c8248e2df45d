#pragma once

// Stand-in RDSServer until the real one lands: the signatures only, so that
// the programme engine builds. It never listens.

#include "settings/FMSettings.h"

#include <QObject>
#include <QSharedPointer>

class RDSInput;

class RDSServer : public QObject
{
    Q_OBJECT
public:
    RDSServer(int programme, QObject* parent, RDSInput* input)
        : QObject(parent), number(programme), engine(input)
    {
    }
    void setProject(QSharedPointer<FMSettings> settings) { store = std::move(settings); }
    void setActive(uint) {}
    void setPort(uint) {}
    void stop() {}
    void listen() {}

private:
    int number;
    RDSInput* engine;
    QSharedPointer<FMSettings> store;
};
