// watch's readers in the orders a system brings them: one record and at most one write a plug.
#include <gtest/gtest.h>

#include "cli/arrivals.h"

namespace {

constexpr std::int64_t kNever = 1'000'000;
constexpr std::int64_t kLookMs = 100;
constexpr Outcome kOk = Outcome::kOk, kBusy = Outcome::kBusy, kNotFound = Outcome::kNotFound,
                  kIoError = Outcome::kIoError, kNoAnswer = Outcome::kNoAnswer;

// One reader's life on a timeline (ms): its node made, the node's mode letting us open it, its by-id link,
// its node removed; and how long a write takes.
struct Plug {
    std::int64_t node = 0;
    std::int64_t openable = 0;
    std::int64_t link = kNever;
    std::int64_t gone = kNever;
    std::int64_t serveMs = 60;
    Outcome answer = Outcome::kOk;                 // what the reader's exchange gives once the port opens
    Outcome refusal = Outcome::kPermissionDenied;  // the open's failure before `openable`
};

struct World {
    std::vector<Plug> plugs;
    Arrivals arrivals;
    std::int64_t now = 0;
    int opened = 0;
    std::vector<std::string> records;  // "name result"

    bool NodeThere(const Plug& plug) const { return now >= plug.node && now < plug.gone; }

    std::vector<PresentPort> Present() const {
        std::vector<PresentPort> present;
        for (std::size_t k = 0; k < plugs.size(); ++k) {
            const std::string tty = "/dev/ttyUSB" + std::to_string(k);
            if (!NodeThere(plugs[k])) continue;
            present.push_back({tty, tty + " SER" + std::to_string(k), "SER" + std::to_string(k)});
            if (now >= plugs[k].link && now < plugs[k].gone) {
                present.push_back({"/dev/serial/by-id/r" + std::to_string(k), present.back().identity, ""});
            }
        }
        return present;
    }

    const Plug& PlugOf(const PresentPort& port) const { return plugs[port.identity[11] - '0']; }

    ReaderReport Serve(const PresentPort& port) {
        const Plug& plug = PlugOf(port);
        ReaderReport report;
        report.port = port.name;
        if (!NodeThere(plug)) {
            report.outcome = Outcome::kNotFound;
        } else if (now < plug.openable) {
            report.outcome = plug.refusal;
            report.error = 13;
        } else {
            ++opened;
            now += plug.serveMs;
            // A reader pulled out while it is asked: the exchange breaks.
            report.outcome = NodeThere(plug) ? plug.answer : Outcome::kIoError;
        }
        return report;
    }

    void Run(
        std::int64_t untilMs, const std::function<bool()>& stop = [] { return false; }) {
        ArrivalHooks hooks;
        hooks.nowMs = [this] { return now; };
        hooks.serve = [this](const PresentPort& port) { return Serve(port); };
        hooks.record = [this](const PresentPort& port, const ReaderReport& report) {
            const std::string error = report.error != 0 ? " " + std::to_string(report.error) : "";
            records.push_back(port.name.substr(8) + " " + ResultCode(report.outcome) + error);
        };
        hooks.stop = stop;
        for (; now < untilMs; now += kLookMs) ServeArrivals(&arrivals, Present(), hooks);
        RecordHeldFailures(&arrivals, hooks);
    }
};

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : ", ") + line;
    return text;
}

}  // namespace

TEST(Arrivals, EachPlugHasOneRecordWhateverOrderItsStagesComeIn) {
    // The plugs, the records ("USB<k> result" each) and how many exchanges there were.
    const std::tuple<std::vector<Plug>, const char*, int> rows[] = {
        {{{200, 350, 500}}, "USB0 ok", 1},                                // the mode 150 ms after the node, links later
        {{{200, 900, 300}}, "USB0 ok", 1},                                // the link before the mode
        {{{200, 700, kNever, kNever, 60, kOk, kBusy}}, "USB0 ok", 1},     // busy a moment (another program looked)
        {{{0, 1500, kNever, kNever, 60, kOk, kNotFound}}, "USB0 ok", 1},  // listed before it opens (a COM port)
        {{{200, kNever}}, "USB0 permission-denied 13", 0},  // the mode never comes: its failure once, after settling
        {{{200, 2600}}, "USB0 permission-denied 13", 0},    // the mode comes after the settle time: still one record
        {{{200, 900, kNever, 600}}, "USB0 unplugged", 0},   // pulled out before it could be opened: no error of its own
        {{{200, 300, kNever, 350, 200}}, "USB0 unplugged", 1},                 // pulled out while it is written
        {{{200, 300, kNever, 380, 60, kIoError}}, "USB0 unplugged", 1},        // hung up a moment before its node goes
        {{{200, 200, kNever, kNever, 1000, kNoAnswer}}, "USB0 no-answer", 1},  // fails, its port still there
        {{{200, 600, 700}, {250, 300, kNever, kNever, 400}}, "USB1 ok, USB0 ok", 2},  // one settles, one is served
    };
    for (const auto& [plugs, records, opened] : rows) {
        World world{plugs};
        world.Run(5000);
        EXPECT_EQ(Joined(world.records) + " " + std::to_string(world.opened), records + (" " + std::to_string(opened)));
    }
}

TEST(Arrivals, AReaderPluggedAgainIsANewPlugAndAStopLeavesTheRestUnserved) {
    World world{{{200, 300, kNever, 1000}}};
    world.Run(1500);
    world.plugs[0] = {1600, 1700};  // the same reader back on the same port
    world.Run(2500);
    EXPECT_EQ(Joined(world.records), "USB0 ok, USB0 ok");

    World stopped{{{200, 300}, {200, 300}}};
    stopped.Run(1000, [&stopped] { return !stopped.records.empty(); });
    EXPECT_EQ(Joined(stopped.records), "USB0 ok");
    EXPECT_EQ(stopped.opened, 1);
}
