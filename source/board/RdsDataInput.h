#pragma once

#include <QSharedPointer>

#include <functional>

class FMSettings;
class QObject;
class RDSInput;

// The network input through which another program feeds RDS groups to one
// programme. The engine only steers it; the server itself belongs to the
// remote-control side, which installs a maker for it at start-up, so the
// engine does not depend on the servers above it.
class RdsDataInput
{
public:
    // Made by the maker with the programme number, the engine as input and
    // the engine as the QObject parent that owns it.
    using Maker = std::function<RdsDataInput*(int programme, RDSInput* input, QObject* parent)>;

    // A new store clears the active state; listening goes on.
    virtual void setProject(QSharedPointer<FMSettings> store) = 0;
    // The board has reported its information: listen.
    virtual void setActive(quint32 boardWord) = 0;
    // New offset (RDS start port - 1).
    virtual void setPort(quint32 portOffset) = 0;
    // Closes listener and client.
    virtual void stop() = 0;

protected:
    ~RdsDataInput() = default;
};
