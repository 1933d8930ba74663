#pragma once

#include <string>
#include <vector>

// Which ports watch asks: each port once when it appears, never again while it
// stays plugged in, and again when it comes back after it was gone.

struct PresentPort {
    std::string name;       // as found: "COM4", "/dev/ttyUSB0", a link matched by --port
    std::string identity;   // the reader it reaches, whatever it is called: its tty, and its USB serial number
    std::string usbSerial;  // "" where the system gives none
};

struct PortTracker {
    std::vector<PresentPort> plugged;  // present at the last look
};

// The ports of `present` whose reader was not present at the last look, in the
// order given, each reader once (under the first of its names), however many
// names lead to it; the tracker then holds `present`. A name that now leads
// to another reader counts as new.
std::vector<PresentPort> NewlyPlugged(PortTracker* tracker, const std::vector<PresentPort>& present);

// True when `name` matches the shell pattern: "*" any run of characters, "?"
// one, "[abc]" / "[a-z]" / "[!abc]" one of a set; letters in any case with
// `ignoreCase` (Windows port names: "com1?" matches COM12).
bool MatchesPattern(const std::string& pattern, const std::string& name, bool ignoreCase);

// False for a pattern no port can match: a '[' without its ']', or a path that ends in '/' (a folder).
bool PatternCanMatchAPort(const std::string& pattern);
