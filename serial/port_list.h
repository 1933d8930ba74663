#pragma once

#include "serial/port_order.h"

// The COM port drop-down list (control 1), in numeric order.

// Enables the list and refills it from the system's port table, sorted;
// only the empty placeholder entry when there are no ports.
void RefreshPortList();

// Empties the list but for one entry with empty text, selected.
void ShowPortPlaceholder();

// Replaces the entries with the system's port names, unsorted, and selects the
// first. True when the table has at least one value (even if none was a name).
bool EnumerateSerialPorts();

// Rebuilds the list as "COM<n>" in ascending numeric order (at most the first
// 50 entries) and selects the first.
void SortPortList();

// Selects the first entry equal to `name` and stores its position in *index;
// changes nothing when no entry is equal.
void SelectPortByName(const char* name, int* index);
