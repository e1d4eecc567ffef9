#pragma once

#include <string>

namespace amperlog {

class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual void Add(const std::string& tip) = 0;
    virtual void Remove() = 0;
};

} // namespace amperlog
