#pragma once

#include <string>
#include <vector>

// Which ports watch asks: each port once when it appears, never again while it
// stays plugged in, and again when it comes back after it was gone.

struct PresentPort {
    std::string name;      // as found: "COM4", "/dev/ttyUSB0", a link matched by --port
    std::string identity;  // what tells it from others whatever it is called (PortIdentity)
};

struct PortTracker {
    std::vector<PresentPort> plugged;  // present at the last look
};

// The ports of `present` that were not present at the last look, in the order
// given, each device once (under the first of its names); the tracker then
// holds `present`. A port whose name now leads to another device counts as
// new.
std::vector<PresentPort> NewlyPlugged(PortTracker* tracker, const std::vector<PresentPort>& present);

// True when `name` matches the shell pattern: "*" any run of characters, "?"
// one, "[abc]" / "[a-z]" / "[!abc]" one of a set; letters in any case with
// `ignoreCase` (Windows port names: "com1?" matches COM12).
bool MatchesPattern(const std::string& pattern, const std::string& name, bool ignoreCase);
