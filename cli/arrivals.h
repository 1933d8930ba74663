#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "cli/port_tracker.h"
#include "cli/reader_session.h"

// watch's readers from the moment their port appears until each has had its one record. A system brings
// a device in stages (its sysfs entry, then its node, then the node's group and mode, then its links), so a
// port may be listed a moment before it can be opened.

// How long a port that has just appeared may stay unopenable (not there, no permission, busy) before that
// counts as its failure.
constexpr std::int64_t kSettleMs = 2000;

struct Arrival {
    PresentPort port;
    std::int64_t seenMs = 0;  // when it was first present
    bool served = false;      // its failure is held until the next look tells whether it was pulled out
    ReaderReport report;
};

struct Arrivals {
    PortTracker tracker;
    std::vector<Arrival> waiting;  // appeared and not recorded yet: not openable yet, or a failure held
};

struct ArrivalHooks {
    std::function<std::int64_t()> nowMs;                    // a steady clock
    std::function<ReaderReport(const PresentPort&)> serve;  // the profile onto the reader
    std::function<void(const PresentPort&, const ReaderReport&)> record;
    std::function<bool()> stop;  // no reader is to be served from now on
};

// One look at the `present` ports: those that appeared join the waiting, a waiting one that has gone is
// recorded as unplugged, and each waiting one is served in turn: an open that fails as the port may yet
// allow is tried again at the next look until kSettleMs have passed since it appeared. A reader pulled out
// hangs up before its node goes, so a failure is held until the next look: recorded as it was when the
// port is still there, as unplugged when it has gone. Success is recorded at once; each reader once.
void ServeArrivals(Arrivals* arrivals, const std::vector<PresentPort>& present, const ArrivalHooks& hooks);

// At the end of the watch: the failures still held are recorded as they were.
void RecordHeldFailures(Arrivals* arrivals, const ArrivalHooks& hooks);
