#include "serial/port_list.h"

#include <string>
#include <vector>

#include "serial/port_table.h"
#include "serial/port_view.h"

void ShowPortPlaceholder() {
    PortListReset();
    PortListAdd("");
    PortListSelect(0);
}

void RefreshPortList() {
    PortListEnable(true);
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
    PortListReset();
    // The list converts the UTF-16 names to its own 8-bit code page.
    for (const std::u16string& name : names) PortListAddWide(name.c_str());
    if (valueCount == 0) return false;
    PortListSelect(0);
    return true;
}

void SortPortList() {
    std::vector<std::string> entries;
    const int count = PortListCount();
    for (int position = 0; position < count && position < kMaxListedPorts; ++position) {
        entries.push_back(PortListText(position));
    }
    PortListReset();
    for (const std::string& name : OrderPortNames(entries)) PortListAdd(name.c_str());
    PortListSelect(0);
}

void SelectPortByName(const char* name, int* index) {
    const int count = PortListCount();
    for (int position = 0; position < count; ++position) {
        if (PortListText(position) == name) {
            PortListSelect(position);
            *index = position;
            return;
        }
    }
}
