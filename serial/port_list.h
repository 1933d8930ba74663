#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The COM port drop-down list (control 1), in numeric order.

constexpr int kMaxListedPorts = 50;

struct PortListState {
    int selectedIndex = 0;  // position of the current port name in the list
};
extern PortListState g_portList;

// Enables the list and refills it from the system's port table, sorted;
// only the empty placeholder entry when there are no ports.
void RefreshPortList();

// Empties the list but for one entry with empty text, selected.
void ShowPortPlaceholder();

// The UTF-16 port names of the system table's string values, in table order;
// *valueCount counts all its values. False when the table cannot be opened.
bool ReadPortTable(std::vector<std::u16string>* names, std::uint32_t* valueCount);

// Replaces the entries with the system's port names, unsorted, and selects the
// first. True when the table has at least one value (even if none was a name).
bool EnumerateSerialPorts();

// Rebuilds the list as "COM<n>" in ascending numeric order (at most the first
// 50 entries) and selects the first.
void SortPortList();

// Negative, zero or positive as a is below, equal to or above b.
int ComparePortNumbers(int a, int b);

// The number after "COM" in an entry: leading digits of the text from its
// fourth character on, 0 when there are none (or the text is shorter).
int PortNumberOf(const char* entry);

// Selects the first entry equal to `name` and stores its position in *index;
// changes nothing when no entry is equal.
void SelectPortByName(const char* name, int* index);
