#pragma once

#include "platform/clock.h"
#include "platform/power_source.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace amperlog {

// The power status from the kernel's power supply class, in the five fields and meanings of
// the Windows query. Batteries of the system (not of mice, keyboards or pens) are summed;
// mains, USB and wireless chargers are the adapter. On battery the remaining and full
// lifetimes come from the draw averaged over the last two minutes and move in whole minutes,
// so they do not change at every query.
class SysfsPowerSource final : public PowerSource {
public:
    static constexpr const char* kDefaultRoot = "/sys/class/power_supply";

    // How often the supply list is read again, and how soon after a read failed.
    static constexpr std::int64_t kRescanIntervalMs = 10'000;
    static constexpr std::int64_t kRescanAfterFailureMs = 2'000;

    // counter times the rescans and the draw average; it must outlive this object.
    SysfsPowerSource(std::filesystem::path root, const MillisecondCounter& counter);
    ~SysfsPowerSource() override;
    SysfsPowerSource(const SysfsPowerSource&) = delete;
    SysfsPowerSource& operator=(const SysfsPowerSource&) = delete;

    // nullopt only when the root folder exists but cannot be listed. A missing root is a
    // machine without any power supply entry, that is a desktop: on mains, no battery.
    std::optional<PowerStatus> Query() override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace amperlog
