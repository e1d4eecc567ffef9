#pragma once

#include <QLocalServer>
#include <QString>
#include <filesystem>
#include <functional>

namespace amperlog {

// The name of the channel between copies started from one program folder: the folder's
// canonical path and the user hashed, so that other folders and other users keep channels of
// their own, and a name short enough for any socket path.
QString InstanceChannelName(const QString& canonicalFolder, const QString& user);
// The same for a folder as given: links and "." or ".." parts lead to the one name.
QString InstanceChannelName(const std::filesystem::path& programFolder);

// A later start asks the copy listening on name to show its window. False when no copy
// answers; a channel whose copy is gone fails at once, a hung copy after a few hundred ms.
bool AskToShow(const QString& name);

// The running copy's end of the channel.
class InstanceChannel final {
public:
    explicit InstanceChannel(std::function<void()> onShow);

    // A channel left behind by a killed copy is cleared first; only the same user may
    // connect.
    bool Listen(const QString& name);
    // No more requests, for a window that has gone.
    void Close();

private:
    void Accept();

    std::function<void()> m_onShow;
    QLocalServer m_server;
};

} // namespace amperlog
