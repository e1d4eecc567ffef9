#include "platform/linux/sysfs_power_source.h"

#include "platform/linux/lifetime_estimator.h"
#include "platform/linux/supply_status.h"
#include "platform/linux/sysfs_supply_tree.h"

#include <algorithm>
#include <vector>

namespace amperlog {

struct SysfsPowerSource::Impl {
    Impl(const std::filesystem::path& rootFolder, const MillisecondCounter& timer)
        : tree(rootFolder.string()), counter(timer) {}

    void AdvanceClock();

    SupplyTree tree;
    const MillisecondCounter& counter;

    bool clockStarted = false;
    std::uint32_t lastRaw = 0;
    std::int64_t nowMs = 0;

    bool scanned = false;
    std::int64_t lastScanMs = 0;
    std::int64_t nextScanMs = 0;

    std::optional<std::uint8_t> lastAcLine;
    LifetimeEstimator lifetimes;
};

void SysfsPowerSource::Impl::AdvanceClock() {
    const std::uint32_t raw = counter.Milliseconds();
    if (clockStarted) {
        // Unsigned difference: right across the counter's wrap.
        nowMs += static_cast<std::uint32_t>(raw - lastRaw);
    }
    clockStarted = true;
    lastRaw = raw;
}

SysfsPowerSource::SysfsPowerSource(std::filesystem::path root, const MillisecondCounter& counter)
    : m_impl(std::make_unique<Impl>(root, counter)) {}

SysfsPowerSource::~SysfsPowerSource() = default;

std::optional<PowerStatus> SysfsPowerSource::Query() {
    Impl& impl = *m_impl;
    impl.AdvanceClock();
    if (!impl.scanned || impl.nowMs >= impl.nextScanMs) {
        if (!impl.tree.Scan()) {
            return std::nullopt;
        }
        impl.scanned = true;
        impl.lastScanMs = impl.nowMs;
        impl.nextScanMs = impl.nowMs + kRescanIntervalMs;
    }
    bool failed = false;
    const std::vector<BatteryReading> readings = impl.tree.ReadBatteries(failed);
    const std::optional<bool> adapterOnline = impl.tree.ReadAdapters(failed);
    if (failed) {
        // A supply that vanished or was renamed shows up soon, yet a file that fails for good
        // does not cost a rescan at every query.
        impl.nextScanMs = std::min(impl.nextScanMs, impl.lastScanMs + kRescanAfterFailureMs);
    }

    PowerStatus status = StatusOfSupplies(readings, adapterOnline);
    if (impl.lastAcLine != status.acLineStatus) {
        impl.lifetimes.Reset();
        impl.lastAcLine = status.acLineStatus;
    }
    if (readings.empty()) {
        return status;
    }
    if (status.acLineStatus != kAcOffline) {
        impl.lifetimes.Reset();
        return status;
    }
    if (const auto lifetimes =
            impl.lifetimes.Update(impl.nowMs, TotalDraw(readings), TotalEnergy(readings))) {
        status.batteryLifeTime = lifetimes->remaining;
        status.batteryFullLifeTime = lifetimes->full;
    }
    return status;
}

} // namespace amperlog
