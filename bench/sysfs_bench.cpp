// One sample of the Linux power supply class on a laptop-like tree (a battery in energy
// units and an adapter), queried once a simulated second so that the supply list is read
// again at its own pace; the energy held now, likewise; and the floor: the same attribute files
// opened and read, nothing more.
#include "platform/fake/fake_clock.h"
#include "platform/linux/sysfs_battery_health.h"
#include "platform/linux/sysfs_power_source.h"
#include "temp_folder.h"

#include <array>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace amperlog::bench {
namespace {

namespace fs = std::filesystem;

class SupplyTree {
public:
    SupplyTree() {
        Supply("BAT0", {{"type", "Battery"},
                        {"present", "1"},
                        {"status", "Discharging"},
                        {"energy_now", "31200000"},
                        {"energy_full", "52000000"},
                        {"energy_full_design", "57000000"},
                        {"power_now", "9100000"},
                        {"voltage_now", "11800000"},
                        {"voltage_min_design", "11400000"},
                        {"capacity", "60"},
                        {"capacity_level", "Normal"},
                        {"technology", "Li-ion"},
                        {"manufacturer", "SMP"},
                        {"model_name", "01AV431"}});
        Supply("AC", {{"type", "Mains"}, {"online", "0"}});
    }
    fs::path Root() const { return m_folder / "power_supply"; }

private:
    void Supply(const std::string& name,
                const std::vector<std::pair<std::string, std::string>>& attributes) {
        fs::create_directories(Root() / name);
        for (const auto& [key, value] : attributes) {
            test::WriteFileBytes(Root() / name / key, value + "\n");
        }
    }

    test::TempFolder m_folder;
};

void BM_SysfsQuery(benchmark::State& bench) {
    SupplyTree tree;
    FakeMillisecondCounter counter(1000);
    SysfsPowerSource source(tree.Root(), counter);
    for (auto _ : bench) {
        counter.AdvanceSeconds(1);
        benchmark::DoNotOptimize(source.Query());
    }
}
BENCHMARK(BM_SysfsQuery)->Unit(benchmark::kMicrosecond);

// The energy held now, which the sleep watch asks for at every tick.
void BM_SysfsEnergyNow(benchmark::State& bench) {
    SupplyTree tree;
    SysfsBatteryHealth source(tree.Root().string());
    for (auto _ : bench) {
        benchmark::DoNotOptimize(source.EnergyNowWh());
    }
}
BENCHMARK(BM_SysfsEnergyNow)->Unit(benchmark::kMicrosecond);

// The attributes a query reads between two scans of the supply list.
void BM_FloorReadSysfsFiles(benchmark::State& bench) {
    SupplyTree tree;
    const std::vector<std::string> files = {
        (tree.Root() / "BAT0/present").string(),    (tree.Root() / "BAT0/status").string(),
        (tree.Root() / "BAT0/energy_now").string(), (tree.Root() / "BAT0/energy_full").string(),
        (tree.Root() / "BAT0/power_now").string(),  (tree.Root() / "AC/online").string(),
    };
    std::array<char, 256> buffer{};
    for (auto _ : bench) {
        for (const std::string& file : files) {
            const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
            benchmark::DoNotOptimize(::read(fd, buffer.data(), buffer.size()));
            ::close(fd);
        }
    }
}
BENCHMARK(BM_FloorReadSysfsFiles)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace amperlog::bench
