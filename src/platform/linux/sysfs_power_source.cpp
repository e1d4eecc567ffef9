#include "platform/linux/sysfs_power_source.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <deque>
#include <fcntl.h>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

// Below this draw (µW) the lifetime is not estimated: Windows reports it unknown as well.
constexpr double kMinDrawMicrowatts = 100'000;
// Bounds the average's memory when queries come much faster than once a second.
constexpr std::size_t kMaxDrawSamples = 600;

class SteadyCounter final : public MillisecondCounter {
public:
    std::uint32_t Milliseconds() const override {
        const auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
        return static_cast<std::uint32_t>(ms);
    }
};

// One open, one read, one close: a sysfs attribute is small and produced whole by one read.
// A file that opens but does not read (EIO from the controller, a directory) counts as
// missing.
std::optional<std::string> ReadAttribute(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::array<char, 256> buffer{};
    const ssize_t count = ::read(fd, buffer.data(), buffer.size());
    ::close(fd);
    if (count < 0) {
        return std::nullopt;
    }
    std::string_view text(buffer.data(), static_cast<std::size_t>(count));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                             text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

std::optional<double> ReadInteger(const std::string& path) {
    const std::optional<std::string> text = ReadAttribute(path);
    if (!text || text->empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const char* const last = text->data() + text->size();
    const auto [end, error] = std::from_chars(text->data(), last, value);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return static_cast<double>(value);
}

std::optional<double> ReadPositive(const std::string& path) {
    const std::optional<double> value = ReadInteger(path);
    if (value && *value > 0) {
        return value;
    }
    return std::nullopt;
}

bool IsAdapterType(std::string_view type) {
    return type == "Mains" || type == "Wireless" || type.starts_with("USB");
}

enum class Units { Energy, Charge };

struct Battery {
    std::string dir; // ends with '/'
    // The unit family that read last time, tried first.
    Units units = Units::Energy;
    // µV; a design voltage does not change, so it is read when the list is scanned.
    std::optional<double> designVoltage;
};

// One battery as read by one query.
struct BatteryReading {
    const Battery* battery = nullptr;
    std::string status;
    // Now and full in the battery's own units, for its own percent.
    std::optional<double> levelNow;
    std::optional<double> levelFull;
    // µWh and µW, where the units allow them.
    std::optional<double> energyNow;
    std::optional<double> energyFull;
    std::optional<double> draw;
};

bool ReadUnits(const Battery& battery, Units units, BatteryReading& reading) {
    const std::string& dir = battery.dir;
    if (units == Units::Energy) {
        const std::optional<double> now = ReadInteger(dir + "energy_now");
        if (!now) {
            return false;
        }
        reading.levelNow = reading.energyNow = std::abs(*now);
        reading.levelFull = reading.energyFull = ReadInteger(dir + "energy_full");
        if (const std::optional<double> power = ReadInteger(dir + "power_now")) {
            reading.draw = std::abs(*power);
        }
        return true;
    }
    const std::optional<double> now = ReadInteger(dir + "charge_now");
    if (!now) {
        return false;
    }
    reading.levelNow = std::abs(*now);
    reading.levelFull = ReadInteger(dir + "charge_full");
    const std::optional<double> current = ReadInteger(dir + "current_now");
    std::optional<double> voltage = battery.designVoltage;
    if (!voltage) {
        voltage = ReadPositive(dir + "voltage_now");
    }
    if (voltage) {
        // µAh × µV = 1e6 µWh, µA × µV = 1e6 µW.
        const double scale = *voltage / 1e6;
        reading.energyNow = *reading.levelNow * scale;
        if (reading.levelFull) {
            reading.energyFull = *reading.levelFull * scale;
        }
        if (current) {
            reading.draw = std::abs(*current) * scale;
        }
    }
    return true;
}

std::optional<double> OwnPercent(const BatteryReading& reading) {
    if (reading.levelNow && reading.levelFull && *reading.levelFull > 0) {
        return 100.0 * *reading.levelNow / *reading.levelFull;
    }
    return ReadInteger(reading.battery->dir + "capacity");
}

// The charge of all batteries together, 0 to 100.
std::optional<int> CombinedPercent(const std::vector<BatteryReading>& readings) {
    double energyNow = 0;
    double energyFull = 0;
    bool allEnergy = true;
    for (const BatteryReading& reading : readings) {
        if (!reading.energyNow || !reading.energyFull) {
            allEnergy = false;
            break;
        }
        energyNow += *reading.energyNow;
        energyFull += *reading.energyFull;
    }
    std::optional<double> percent;
    if (allEnergy && energyFull > 0) {
        percent = 100.0 * energyNow / energyFull;
    } else {
        // Without a common unit, each battery's own percent counts alike.
        double sum = 0;
        int count = 0;
        for (const BatteryReading& reading : readings) {
            if (const std::optional<double> own = OwnPercent(reading)) {
                sum += *own;
                ++count;
            }
        }
        if (count > 0) {
            percent = sum / count;
        }
    }
    if (!percent) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(std::clamp(*percent, 0.0, 100.0)));
}

std::uint8_t FlagFromLevel(const std::vector<BatteryReading>& readings) {
    for (const BatteryReading& reading : readings) {
        const std::optional<std::string> level =
            ReadAttribute(reading.battery->dir + "capacity_level");
        if (!level) {
            continue;
        }
        if (*level == "Critical") {
            return 2 | 4;
        }
        if (*level == "Low") {
            return 2;
        }
        if (*level == "High" || *level == "Full") {
            return 1;
        }
        if (*level == "Normal") {
            return 0;
        }
    }
    return 255;
}

std::uint8_t AcLineFromStatus(const std::vector<BatteryReading>& readings) {
    bool external = false;
    for (const BatteryReading& reading : readings) {
        if (reading.status == "Discharging") {
            return 0;
        }
        if (reading.status == "Charging" || reading.status == "Full" ||
            reading.status == "Not charging") {
            external = true;
        }
    }
    return external ? 1 : 255;
}

std::int32_t MinutesToSeconds(std::int64_t minutes) {
    constexpr std::int64_t kMaxMinutes = std::numeric_limits<std::int32_t>::max() / 60;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(minutes, 0, kMaxMinutes) * 60);
}

// A lifetime in whole minutes as reported. It follows the estimate freely in the direction it
// last moved, but turns back only once the estimate lies a minute or 2 % (whichever is more)
// the other way: a draw that wobbles around a steady value would otherwise flip the minutes,
// and with them the log, back and forth.
class ShownMinutes {
public:
    // Returns seconds.
    std::int32_t Update(double minutes) {
        const std::int64_t target = std::llround(std::clamp(minutes, 0.0, 1e9));
        if (!m_minutes) {
            m_minutes = target;
        } else if (target != *m_minutes) {
            const int direction = target < *m_minutes ? -1 : 1;
            const auto current = static_cast<double>(*m_minutes);
            const bool turning = m_direction != 0 && direction != m_direction;
            if (!turning || std::abs(minutes - current) >= std::max(1.0, 0.02 * current)) {
                m_minutes = target;
                m_direction = direction;
            }
        }
        return MinutesToSeconds(*m_minutes);
    }
    void Reset() {
        m_minutes.reset();
        m_direction = 0;
    }

private:
    std::optional<std::int64_t> m_minutes;
    int m_direction = 0;
};

} // namespace

struct SysfsPowerSource::Impl {
    struct DrawSample {
        std::int64_t ms;
        double microwatts;
    };

    std::string root;
    std::unique_ptr<MillisecondCounter> ownCounter;
    const MillisecondCounter* counter = nullptr;

    bool clockStarted = false;
    std::uint32_t lastRaw = 0;
    std::int64_t nowMs = 0;

    bool scanned = false;
    std::int64_t lastScanMs = 0;
    std::int64_t nextScanMs = 0;
    std::vector<Battery> batteries;
    std::vector<std::string> adapterOnlineFiles;

    std::optional<std::uint8_t> lastAcLine;
    std::deque<DrawSample> draws;
    ShownMinutes shownLife;
    ShownMinutes shownFull;

    void AdvanceClock();
    bool Scan();
    std::optional<BatteryReading> ReadBattery(Battery& battery, bool& failed) const;
    std::optional<bool> ReadAdapters(bool& failed) const;
    void ResetSmoothing();
    void AddDraw(const std::vector<BatteryReading>& readings);
    std::optional<double> AverageDraw() const;
    PowerStatus Compose(const std::vector<BatteryReading>& readings,
                        std::optional<bool> adapterOnline);
};

void SysfsPowerSource::Impl::AdvanceClock() {
    const std::uint32_t raw = counter->Milliseconds();
    if (clockStarted) {
        // Unsigned difference: right across the counter's wrap.
        nowMs += static_cast<std::uint32_t>(raw - lastRaw);
    }
    clockStarted = true;
    lastRaw = raw;
}

bool SysfsPowerSource::Impl::Scan() {
    std::error_code error;
    const fs::file_status rootStatus = fs::status(root, error);
    std::vector<std::string> names;
    if (rootStatus.type() != fs::file_type::not_found) {
        fs::directory_iterator it(root, error);
        if (error) {
            return false;
        }
        for (; it != fs::directory_iterator(); it.increment(error)) {
            names.push_back(it->path().filename().string());
        }
        if (error) {
            return false;
        }
        std::sort(names.begin(), names.end());
    }

    std::vector<Battery> found;
    std::vector<std::string> adapters;
    for (const std::string& name : names) {
        const std::string dir = root + "/" + name + "/";
        // Batteries of mice, keyboards and pens say scope Device; they do not power this
        // machine.
        if (ReadAttribute(dir + "scope") == "Device") {
            continue;
        }
        const std::optional<std::string> type = ReadAttribute(dir + "type");
        if (!type) {
            continue;
        }
        if (*type == "Battery") {
            Battery battery;
            battery.dir = dir;
            for (const Battery& known : batteries) {
                if (known.dir == dir) {
                    battery.units = known.units;
                }
            }
            battery.designVoltage = ReadPositive(dir + "voltage_max_design");
            if (!battery.designVoltage) {
                battery.designVoltage = ReadPositive(dir + "voltage_min_design");
            }
            found.push_back(std::move(battery));
        } else if (IsAdapterType(*type) && ReadAttribute(dir + "online")) {
            adapters.push_back(dir + "online");
        }
    }
    batteries = std::move(found);
    adapterOnlineFiles = std::move(adapters);
    scanned = true;
    lastScanMs = nowMs;
    nextScanMs = nowMs + kRescanIntervalMs;
    return true;
}

std::optional<BatteryReading> SysfsPowerSource::Impl::ReadBattery(Battery& battery,
                                                                  bool& failed) const {
    const std::optional<double> present = ReadInteger(battery.dir + "present");
    if (present && *present == 0) {
        return std::nullopt;
    }
    BatteryReading reading;
    reading.battery = &battery;
    if (std::optional<std::string> status = ReadAttribute(battery.dir + "status")) {
        reading.status = std::move(*status);
    } else {
        // Every battery has a status; a battery that lost it was probably unplugged.
        failed = true;
    }
    const Units other = battery.units == Units::Energy ? Units::Charge : Units::Energy;
    if (ReadUnits(battery, battery.units, reading)) {
        return reading;
    }
    if (ReadUnits(battery, other, reading)) {
        battery.units = other;
    }
    return reading;
}

std::optional<bool> SysfsPowerSource::Impl::ReadAdapters(bool& failed) const {
    std::optional<bool> online;
    for (const std::string& file : adapterOnlineFiles) {
        const std::optional<double> value = ReadInteger(file);
        if (!value) {
            failed = true;
            continue;
        }
        // USB ports say 2 for a programmable supply: any non-zero value is power.
        online = online.value_or(false) || *value != 0;
    }
    return online;
}

void SysfsPowerSource::Impl::ResetSmoothing() {
    draws.clear();
    shownLife.Reset();
    shownFull.Reset();
}

void SysfsPowerSource::Impl::AddDraw(const std::vector<BatteryReading>& readings) {
    while (!draws.empty() && nowMs - draws.front().ms >= kSmoothingWindowMs) {
        draws.pop_front();
    }
    double total = 0;
    bool known = false;
    for (const BatteryReading& reading : readings) {
        if (reading.draw) {
            total += *reading.draw;
            known = true;
        }
    }
    // Right after the adapter is pulled many batteries report no draw for a few seconds;
    // such readings would drag the average down and the lifetime up.
    if (!known || total <= kMinDrawMicrowatts) {
        return;
    }
    if (draws.size() >= kMaxDrawSamples) {
        draws.pop_front();
    }
    draws.push_back({nowMs, total});
}

std::optional<double> SysfsPowerSource::Impl::AverageDraw() const {
    if (draws.empty()) {
        return std::nullopt;
    }
    double sum = 0;
    for (const DrawSample& sample : draws) {
        sum += sample.microwatts;
    }
    return sum / static_cast<double>(draws.size());
}

PowerStatus SysfsPowerSource::Impl::Compose(const std::vector<BatteryReading>& readings,
                                            std::optional<bool> adapterOnline) {
    PowerStatus status;
    if (readings.empty()) {
        // What Windows reports on a desktop.
        status.acLineStatus = 1;
        status.batteryFlag = 128;
    } else if (adapterOnline) {
        status.acLineStatus = *adapterOnline ? 1 : 0;
    } else {
        status.acLineStatus = AcLineFromStatus(readings);
    }
    if (lastAcLine != status.acLineStatus) {
        ResetSmoothing();
        lastAcLine = status.acLineStatus;
    }
    if (readings.empty()) {
        return status;
    }

    const bool charging =
        std::any_of(readings.begin(), readings.end(),
                    [](const BatteryReading& r) { return r.status == "Charging"; });
    const std::optional<int> percent = CombinedPercent(readings);
    if (percent) {
        status.batteryLifePercent = static_cast<std::uint8_t>(*percent);
        status.batteryFlag = 0;
        if (*percent > 66) {
            status.batteryFlag |= 1;
        }
        if (*percent < 33) {
            status.batteryFlag |= 2;
        }
        if (*percent < 5) {
            status.batteryFlag |= 4;
        }
    } else {
        status.batteryFlag = FlagFromLevel(readings);
    }
    if (charging && status.batteryFlag != 255) {
        status.batteryFlag |= 8;
    }

    if (status.acLineStatus != 0) {
        ResetSmoothing();
        return status;
    }
    AddDraw(readings);
    const std::optional<double> draw = AverageDraw();
    double energyNow = 0;
    double energyFull = 0;
    bool energyKnown = true;
    for (const BatteryReading& reading : readings) {
        if (!reading.energyNow || !reading.energyFull) {
            energyKnown = false;
            break;
        }
        energyNow += *reading.energyNow;
        energyFull += *reading.energyFull;
    }
    if (!draw || !energyKnown) {
        shownLife.Reset();
        shownFull.Reset();
        return status;
    }
    // µWh / µW = hours.
    status.batteryLifeTime = shownLife.Update(60.0 * energyNow / *draw);
    status.batteryFullLifeTime = shownFull.Update(60.0 * energyFull / *draw);
    return status;
}

SysfsPowerSource::SysfsPowerSource() : m_impl(std::make_unique<Impl>()) {
    m_impl->root = kDefaultRoot;
    m_impl->ownCounter = std::make_unique<SteadyCounter>();
    m_impl->counter = m_impl->ownCounter.get();
}

SysfsPowerSource::SysfsPowerSource(std::filesystem::path root, const MillisecondCounter& counter)
    : m_impl(std::make_unique<Impl>()) {
    m_impl->root = root.string();
    m_impl->counter = &counter;
}

SysfsPowerSource::~SysfsPowerSource() = default;

std::optional<PowerStatus> SysfsPowerSource::Query() {
    Impl& impl = *m_impl;
    impl.AdvanceClock();
    if (!impl.scanned || impl.nowMs >= impl.nextScanMs) {
        if (!impl.Scan()) {
            return std::nullopt;
        }
    }
    bool failed = false;
    std::vector<BatteryReading> readings;
    readings.reserve(impl.batteries.size());
    for (Battery& battery : impl.batteries) {
        if (std::optional<BatteryReading> reading = impl.ReadBattery(battery, failed)) {
            readings.push_back(std::move(*reading));
        }
    }
    const std::optional<bool> adapterOnline = impl.ReadAdapters(failed);
    if (failed) {
        // A supply that vanished or was renamed shows up soon, yet a file that fails for good
        // does not cost a rescan at every query.
        impl.nextScanMs = std::min(impl.nextScanMs, impl.lastScanMs + kRescanAfterFailureMs);
    }
    return impl.Compose(readings, adapterOnline);
}

} // namespace amperlog
