#include "platform/windows/windows_battery_health.h"

#include "platform/windows/wide_text.h"

#include <array>
#include <climits>
#include <string_view>
#include <vector>
// The battery class's GUID is defined here, once.
#include <initguid.h>
#include <poclass.h>
#include <setupapi.h>
#include <winioctl.h>

namespace amperlog {
namespace {

constexpr double kMilliPerUnit = 1000;
// More batteries than any machine has; the enumeration stops at the first missing one.
constexpr DWORD kMostBatteries = 16;

class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() {
        if (m_handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(m_handle);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

std::wstring QueryString(HANDLE battery, ULONG tag, BATTERY_QUERY_INFORMATION_LEVEL level) {
    BATTERY_QUERY_INFORMATION query{};
    query.BatteryTag = tag;
    query.InformationLevel = level;
    std::array<wchar_t, 128> text{};
    DWORD bytes = 0;
    if (!::DeviceIoControl(battery, IOCTL_BATTERY_QUERY_INFORMATION, &query, sizeof query,
                           text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)) - 2,
                           &bytes, nullptr)) {
        return {};
    }
    return std::wstring(text.data());
}

// "\\?\ACPI#PNP0C0A#1#{…}": the instance, "1", is the battery's slot.
std::wstring SlotOf(std::wstring_view path) {
    const std::size_t first = path.find(L'#');
    const std::size_t second =
        first == std::wstring_view::npos ? first : path.find(L'#', first + 1);
    const std::size_t third =
        second == std::wstring_view::npos ? second : path.find(L'#', second + 1);
    if (third == std::wstring_view::npos) {
        return {};
    }
    return L"slot " + std::wstring(path.substr(second + 1, third - second - 1));
}

HANDLE OpenBattery(const wchar_t* path) {
    return ::CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The battery's tag, 0 for none, and its information.
ULONG QueryTagAndInformation(HANDLE battery, BATTERY_INFORMATION& info) {
    ULONG wait = 0;
    ULONG tag = 0;
    DWORD bytes = 0;
    if (!::DeviceIoControl(battery, IOCTL_BATTERY_QUERY_TAG, &wait, sizeof wait, &tag, sizeof tag,
                           &bytes, nullptr) ||
        tag == 0) {
        return 0;
    }
    BATTERY_QUERY_INFORMATION query{};
    query.BatteryTag = tag;
    query.InformationLevel = BatteryInformation;
    if (!::DeviceIoControl(battery, IOCTL_BATTERY_QUERY_INFORMATION, &query, sizeof query, &info,
                           sizeof info, &bytes, nullptr)) {
        return 0;
    }
    return tag;
}

std::optional<BatteryHealthReading> ReadBattery(const wchar_t* path) {
    const Handle battery(OpenBattery(path));
    if (battery.Get() == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BATTERY_INFORMATION info{};
    const ULONG tag = QueryTagAndInformation(battery.Get(), info);
    if (tag == 0) {
        return std::nullopt;
    }
    const BatteryNames names{QueryString(battery.Get(), tag, BatteryManufactureName),
                             QueryString(battery.Get(), tag, BatteryDeviceName),
                             QueryString(battery.Get(), tag, BatterySerialNumber), SlotOf(path)};
    return DecodeBatteryHealth(info, names);
}

bool IsMachineBattery(const BATTERY_INFORMATION& info) {
    return (info.Capabilities & BATTERY_SYSTEM_BATTERY) != 0 &&
           (info.Capabilities & BATTERY_IS_SHORT_TERM) == 0;
}

// The device paths of the battery class.
std::vector<std::wstring> BatteryPaths() {
    std::vector<std::wstring> paths;
    const HDEVINFO devices = ::SetupDiGetClassDevsW(&GUID_DEVICE_BATTERY, nullptr, nullptr,
                                                    DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (devices == INVALID_HANDLE_VALUE) {
        return paths;
    }
    for (DWORD index = 0; index < kMostBatteries; ++index) {
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof data;
        if (!::SetupDiEnumDeviceInterfaces(devices, nullptr, &GUID_DEVICE_BATTERY, index, &data)) {
            break;
        }
        DWORD size = 0;
        ::SetupDiGetDeviceInterfaceDetailW(devices, &data, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
            continue;
        }
        // The detail is a header followed by the path; kept in DWORDs for its alignment.
        std::vector<DWORD> buffer((size + sizeof(DWORD) - 1) / sizeof(DWORD));
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (::SetupDiGetDeviceInterfaceDetailW(devices, &data, detail, size, &size, nullptr)) {
            paths.emplace_back(detail->DevicePath);
        }
    }
    ::SetupDiDestroyDeviceInfoList(devices);
    return paths;
}

// The energy of the batteries at paths: nullopt in value when one does not tell it; false
// when one did not answer at all.
bool SumEnergy(const std::vector<std::wstring>& paths, std::optional<double>& value) {
    value.reset();
    for (const std::wstring& path : paths) {
        const Handle battery(OpenBattery(path.c_str()));
        BATTERY_INFORMATION info{};
        const ULONG tag =
            battery.Get() == INVALID_HANDLE_VALUE ? 0 : QueryTagAndInformation(battery.Get(), info);
        if (tag == 0) {
            return false;
        }
        if (!IsMachineBattery(info)) {
            continue;
        }
        BATTERY_WAIT_STATUS wait{};
        wait.BatteryTag = tag;
        BATTERY_STATUS status{};
        DWORD bytes = 0;
        if (!::DeviceIoControl(battery.Get(), IOCTL_BATTERY_QUERY_STATUS, &wait, sizeof wait,
                               &status, sizeof status, &bytes, nullptr)) {
            return false;
        }
        const std::optional<double> wh = DecodeBatteryEnergy(info, status);
        if (!wh) {
            value.reset();
            return true;
        }
        value = value.value_or(0) + *wh;
    }
    return true;
}

} // namespace

std::optional<BatteryHealthReading> DecodeBatteryHealth(const BATTERY_INFORMATION& info,
                                                        const BatteryNames& names) {
    // A UPS or another battery that does not run the machine has no health of ours.
    if (!IsMachineBattery(info)) {
        return std::nullopt;
    }
    BatteryHealthReading reading;
    reading.manufacturer = Utf8FromWide(names.manufacturer);
    reading.model = Utf8FromWide(names.device);
    reading.serial = Utf8FromWide(names.serial);
    reading.supply = Utf8FromWide(names.slot);
    // 0xFFFFFFFF: the driver does not know.
    reading.cycles =
        info.CycleCount <= static_cast<ULONG>(INT_MAX) ? static_cast<int>(info.CycleCount) : 0;
    const ULONG design = info.DesignedCapacity;
    const ULONG full = info.FullChargedCapacity;
    if (design == BATTERY_UNKNOWN_CAPACITY || full == BATTERY_UNKNOWN_CAPACITY ||
        !IsPlausibleHealth(design, full)) {
        // Named without figures: the diary still owes it the day's line.
        return reading;
    }
    reading.ratioOnly = (info.Capabilities & BATTERY_CAPACITY_RELATIVE) != 0;
    reading.designWh = design / kMilliPerUnit;
    reading.fullWh = full / kMilliPerUnit;
    return reading;
}

std::optional<double> DecodeBatteryEnergy(const BATTERY_INFORMATION& info,
                                          const BATTERY_STATUS& status) {
    if ((info.Capabilities & BATTERY_CAPACITY_RELATIVE) != 0 ||
        status.Capacity == BATTERY_UNKNOWN_CAPACITY) {
        return std::nullopt;
    }
    return status.Capacity / kMilliPerUnit;
}

std::vector<BatteryHealthReading> WindowsBatteryHealth::Read() {
    std::vector<BatteryHealthReading> readings;
    for (const std::wstring& path : BatteryPaths()) {
        if (std::optional<BatteryHealthReading> reading = ReadBattery(path.c_str())) {
            readings.push_back(std::move(*reading));
        }
    }
    return readings;
}

std::optional<double> WindowsBatteryHealth::EnergyNowWh() {
    std::optional<double> value;
    if (m_paths && SumEnergy(*m_paths, value)) {
        return value;
    }
    // The first time, or a battery taken out since: the paths afresh, once.
    m_paths = BatteryPaths();
    if (!SumEnergy(*m_paths, value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace amperlog
