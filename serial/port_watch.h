#pragma once

#include <cstdint>

// Reacts to devices coming and going: a burst of notifications arms one
// 2000 ms check; the check renews, reports or drops the connection, or starts
// a search when a port or the USB reader has appeared.

constexpr int kPortWatchDelayMs = 2000;
constexpr int kReopenDelayMs = 1000;

void OnDevicesChanged();
void OnPortWatchTimer();
