#include "app/outside_requests.h"

#include "mainwindow/main_window.h"
#include "platform/instance_lock.h"
#include "platform/termination_requests.h"

#include <QCoreApplication>

namespace amperlog {

OutsideRequests::OutsideRequests(MainWindow& window, InstanceLock& lock, const QString& channelName)
    : m_window(window), m_channel([this] { Show(); }) {
    m_channel.Listen(channelName);
    // A window that has gone answers no later start: the start finds no one and just ends.
    QObject::connect(&window, &MainWindow::Unloaded, &m_context, [this] { m_channel.Close(); });

    const int termination = WatchTerminationRequests();
    if (termination >= 0) {
        m_termination = std::make_unique<QSocketNotifier>(termination, QSocketNotifier::Read);
        QObject::connect(m_termination.get(), &QSocketNotifier::activated, &m_context, [this] {
            m_termination->setEnabled(false);
            m_window.CloseWindow();
        });
    }

    // The end of a Windows session emits this and then ends the process, so the unload and
    // the lock's release cannot wait for exec() to return; on any other end the unload has
    // run already.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &m_context,
                     [this, &lock] {
                         m_channel.Close();
                         m_window.Shutdown();
                         lock.Unlock();
                     });
}

void OutsideRequests::Show() {
    if (!m_window.Actions().ShowRequest()) {
        return;
    }
    m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.raise();
    m_window.activateWindow();
}

} // namespace amperlog
