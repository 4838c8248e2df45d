#pragma once

class SetValue;

// Implemented by every object that listens to the store. The listener derives
// from its Qt class first and from Observer second; its SetHandler turns each
// delivered SetValue into a call of notify() in the listener's thread.
class Observer
{
public:
    virtual void notify(SetValue* event) = 0;

protected:
    ~Observer() = default;
};
