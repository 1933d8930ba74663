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
        arrivals->waiting.push_back({port, hooks.nowMs()});
    }
    std::vector<Arrival> waiting;
    for (const Arrival& arrival : arrivals->waiting) {
        const auto same = [&arrival](const PresentPort& port) { return port.identity == arrival.port.identity; };
        if (std::any_of(present.begin(), present.end(), same)) {
            waiting.push_back(arrival);
            continue;
        }
        ReaderReport gone;
        gone.port = arrival.port.name;
        gone.outcome = Outcome::kUnplugged;
        hooks.record(arrival.port, gone);
    }
    arrivals->waiting.clear();
    for (std::size_t i = 0; i < waiting.size(); ++i) {
        if (hooks.stop()) {  // the rest wait, unserved
            arrivals->waiting.insert(arrivals->waiting.end(), waiting.begin() + i, waiting.end());
            return;
        }
        const Arrival& arrival = waiting[i];
        ReaderReport report = hooks.serve(arrival.port);
        if (MayYetOpen(report.outcome) && hooks.nowMs() - arrival.seenMs < kSettleMs) {
            arrivals->waiting.push_back(arrival);
            continue;
        }
        if (Failed(report.outcome) && !hooks.stillThere(arrival.port)) {
            report.outcome = Outcome::kUnplugged;
            report.error = 0;
        }
        hooks.record(arrival.port, report);
    }
}
