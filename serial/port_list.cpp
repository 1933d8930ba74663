#include "serial/port_list.h"

#include <string>
#include <vector>

#include "app/main_window.h"
#include "serial/port_table.h"
#include "ui/command_ids.h"
#include "ui/window_ops_glue.h"

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

bool EnumerateSerialPorts() {
    std::vector<std::u16string> names;
    std::uint32_t valueCount = 0;
    if (!ReadPortTable(&names, &valueCount)) return false;
    ComboReset(g_main.window, kIdPortList);
    // The list converts the UTF-16 names to its own 8-bit code page.
    for (const std::u16string& name : names) ComboAddWide(g_main.window, kIdPortList, name.c_str());
    if (valueCount == 0) return false;
    ComboSelect(g_main.window, kIdPortList, 0);
    return true;
}

void SortPortList() {
    std::vector<std::string> entries;
    const int count = ComboCount(g_main.window, kIdPortList);
    for (int position = 0; position < count && position < kMaxListedPorts; ++position) {
        entries.push_back(ComboText(g_main.window, kIdPortList, position));
    }
    ComboReset(g_main.window, kIdPortList);
    for (const std::string& name : OrderPortNames(entries)) ComboAdd(g_main.window, kIdPortList, name.c_str());
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
