#include "serial/port_list.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "serial/port_table.h"
#include "ui/command_ids.h"
#include "ui/window_ops.h"

PortListState g_portList;

void ShowPortPlaceholder() {
    ComboReset(g_main.window, kIdPortList);
    ComboAdd(g_main.window, kIdPortList, "");
    ComboSelect(g_main.window, kIdPortList, 0);
}

void RefreshPortList() {
    ControlEnable(g_main.window, kIdPortList, true);
    if (EnumerateSerialPorts()) {
        SortPortList();
    } else {
        ShowPortPlaceholder();
    }
}

bool ReadPortTable(std::vector<std::u16string>* names, std::uint32_t* valueCount) {
    RegistryKey key = PortTableOpen();
    if (key == nullptr) return false;
    const PortTableInfo info = PortTableQueryInfo(key);
    *valueCount = info.valueCount;

    // Room for the longest name and data (of any byte count) plus a terminator
    // each: registry data need not end in a zero character, so it is terminated here.
    std::vector<char16_t> name(info.longestNameChars + 1u);
    std::vector<char16_t> data(info.longestDataBytes / 2u + 2u);
    const std::uint32_t dataCapacityBytes = info.longestDataBytes;
    for (std::uint32_t index = 0; index < info.valueCount; ++index) {
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        std::fill(data.begin(), data.end(), u'\0');
        if (!PortTableReadValue(key, index, name.data(), static_cast<std::uint32_t>(name.size()),
                                reinterpret_cast<std::uint8_t*>(data.data()), dataCapacityBytes, &type, &size))
            continue;
        if (type != kRegistryString) continue;
        data[std::min<std::size_t>(size / 2u, data.size() - 1u)] = u'\0';
        names->push_back(data.data());
    }
    PortTableClose(key);
    return true;
}

bool EnumerateSerialPorts() {
    std::vector<std::u16string> names;
    std::uint32_t valueCount = 0;
    if (!ReadPortTable(&names, &valueCount)) return false;
    ComboReset(g_main.window, kIdPortList);
    for (const std::u16string& name : names) ComboAddWide(g_main.window, kIdPortList, name.c_str());
    if (valueCount == 0) return false;
    ComboSelect(g_main.window, kIdPortList, 0);
    return true;
}

int ComparePortNumbers(int a, int b) { return (a > b) - (a < b); }

int PortNumberOf(const char* entry) {
    if (std::strlen(entry) < 3) return 0;
    long number = std::strtol(entry + 3, nullptr, 10);
    if (number > INT_MAX) return INT_MAX;
    if (number < INT_MIN) return INT_MIN;
    return static_cast<int>(number);
}

void SortPortList() {
    const int count = ComboCount(g_main.window, kIdPortList);
    if (count <= 0) {
        ComboReset(g_main.window, kIdPortList);
        ComboSelect(g_main.window, kIdPortList, 0);
        return;
    }
    std::vector<int> numbers;
    for (int position = 0; position < count && position < kMaxListedPorts; ++position) {
        numbers.push_back(PortNumberOf(ComboText(g_main.window, kIdPortList, position).c_str()));
    }
    std::sort(numbers.begin(), numbers.end(), [](int a, int b) { return ComparePortNumbers(a, b) < 0; });

    ComboReset(g_main.window, kIdPortList);
    for (int number : numbers) {
        ComboAdd(g_main.window, kIdPortList, ("COM" + std::to_string(number)).c_str());
    }
    ComboSelect(g_main.window, kIdPortList, 0);
}

void SelectPortByName(const char* name, int* index) {
    const int count = ComboCount(g_main.window, kIdPortList);
    for (int position = 0; position < count; ++position) {
        if (ComboText(g_main.window, kIdPortList, position) == name) {
            ComboSelect(g_main.window, kIdPortList, position);
            *index = position;
            return;
        }
    }
}
