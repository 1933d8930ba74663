#include "cli/arrivals.h"

#include <algorithm>

namespace {

bool MayYetOpen(Outcome outcome) {
    return outcome == Outcome::kNotFound || outcome == Outcome::kPermissionDenied || outcome == Outcome::kBusy;
}

bool Failed(Outcome outcome) { return outcome != Outcome::kOk && outcome != Outcome::kNotAttempted; }

}  // namespace

void ServeArrivals(Arrivals* arrivals, const std::vector<PresentPort>& present, const ArrivalHooks& hooks) {
    for (const PresentPort& port : NewlyPlugged(&arrivals->tracker, present)) {
        arrivals->waiting.push_back({port, hooks.nowMs(), false, {}});
    }
    std::vector<Arrival> waiting;
    for (Arrival& arrival : arrivals->waiting) {
        const auto same = [&arrival](const PresentPort& port) { return port.identity == arrival.port.identity; };
        const bool there = std::any_of(present.begin(), present.end(), same);
        if (there && !arrival.served) {
            waiting.push_back(arrival);
            continue;
        }
        if (!there) {
            arrival.report.port = arrival.port.name;
            arrival.report.outcome = Outcome::kUnplugged;
            arrival.report.error = 0;
        }
        hooks.record(arrival.port, arrival.report);
    }
    arrivals->waiting.clear();
    for (std::size_t i = 0; i < waiting.size(); ++i) {
        if (hooks.stop()) {  // the rest wait, unserved
            arrivals->waiting.insert(arrivals->waiting.end(), waiting.begin() + i, waiting.end());
            return;
        }
        Arrival& arrival = waiting[i];
        arrival.report = hooks.serve(arrival.port);
        const Outcome outcome = arrival.report.outcome;
        if (MayYetOpen(outcome) && hooks.nowMs() - arrival.seenMs < kSettleMs) {
            arrivals->waiting.push_back(arrival);
        } else if (Failed(outcome)) {
            arrival.served = true;
            arrivals->waiting.push_back(arrival);
        } else {
            hooks.record(arrival.port, arrival.report);
        }
    }
}

void RecordHeldFailures(Arrivals* arrivals, const ArrivalHooks& hooks) {
    for (const Arrival& arrival : arrivals->waiting) {
        if (arrival.served) hooks.record(arrival.port, arrival.report);
    }
    arrivals->waiting.clear();
}
