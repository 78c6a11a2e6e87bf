#pragma once

#include <QObject>
#include <QScopedValueRollback>

// A screen reader presses a button without any input event, past modal
// windows and the input blocked while the network command runs: so no
// handler starts while another one, or the network command, is running.
// One gate serves the whole window.
class HandlerGate {
public:
    // Connects sender's signal to receiver's handler run, behind the gate.
    template <typename Sender, typename Signal, typename Receiver>
    void Connect(Sender* sender, Signal signal, Receiver* receiver, void (Receiver::*run)())
    {
        QObject::connect(sender, signal, receiver, [this, receiver, run] {
            if (HandlerRunning || CommandRunning)
                return;
            const QScopedValueRollback running(HandlerRunning, true);
            (receiver->*run)();
        });
    }

    // Set while the network command runs: the window cannot be closed then.
    bool CommandRunning = false;

private:
    bool HandlerRunning = false;
};
