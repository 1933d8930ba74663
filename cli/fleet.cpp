#include "cli/fleet.h"

#include <atomic>
#include <cstdio>

#include "cli/parallel_glue.h"
#include "cli/system_glue.h"

std::vector<ReaderReport> ForEachPort(const std::vector<std::string>& ports,
                                      const std::function<ReaderReport(const std::string&)>& work, bool progress,
                                      const char* progressLabel) {
    std::vector<ReaderReport> reports(ports.size());
    std::atomic<std::size_t> done{0};
    const auto show = [&](std::size_t count) {
        if (progress) std::fprintf(stderr, "\r%zu/%zu %s", count, ports.size(), progressLabel);
    };
    show(0);
    // Each thread fills its own report: nothing else is shared but the count.
    RunInParallel(ports.size(), [&](std::size_t i) {
        if (InterruptSignal() != 0) {  // no new port once interrupted
            reports[i].port = ports[i];
            reports[i].outcome = Outcome::kNotAttempted;
        } else {
            reports[i] = work(ports[i]);
        }
        show(++done);
    });
    if (progress) std::fprintf(stderr, "\r%*s\r", 60, "");  // the line goes before the results come
    return reports;
}
