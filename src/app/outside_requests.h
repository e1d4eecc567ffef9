#pragma once

#include "app/instance_channel.h"

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <memory>

namespace amperlog {

class InstanceLock;
class MainWindow;

// What reaches the running program from outside its window, each taken to the window's own
// path: a later start asking for the window (back from the notification area as "Exit" brings
// it, raised and activated); the system asking the program to end (the way of picClose); the
// end of a session, after which the process is ended without returning from the event loop
// (the unload and the lock's release run before).
class OutsideRequests final {
public:
    OutsideRequests(MainWindow& window, InstanceLock& lock, const QString& channelName);

private:
    void Show();

    MainWindow& m_window;
    InstanceChannel m_channel;
    std::unique_ptr<QSocketNotifier> m_termination;
    // The receiver of the connections, so that they go first when this goes.
    QObject m_context;
};

} // namespace amperlog
