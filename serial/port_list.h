#pragma once

// The COM port drop-down list (control 1), in numeric order.

struct PortListState {
    int selectedIndex = 0;  // position of the current port name in the list
};
extern PortListState g_portList;

// Enables the list and refills it from the system's port table, sorted;
// only the empty placeholder entry when there are no ports.
void RefreshPortList();
