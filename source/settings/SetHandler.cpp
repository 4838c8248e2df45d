#include "settings/SetHandler.h"

#include "settings/Observer.h"
#include "settings/SetValue.h"

SetHandler::SetHandler(QObject* parent) : QObject(parent) {}

bool SetHandler::eventFilter(QObject* watched, QEvent* event)
{
    if (watched && event->type() == SetValue::kType) {
        if (auto* observer = dynamic_cast<Observer*>(watched)) {
            static_cast<SetValue*>(event)->deliverTo(*observer);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
