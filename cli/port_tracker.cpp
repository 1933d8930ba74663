#include "cli/port_tracker.h"

#include <algorithm>

namespace {

char Folded(char c, bool ignoreCase) {
    return ignoreCase && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The end (just past its ']') of the set that starts with the '[' at `p`; npos when it has no ']', and
// the '[' is then a plain character. A ']' first in the set is one of its characters.
std::size_t SetEnd(const std::string& pattern, std::size_t p) {
    std::size_t i = p + 1;
    if (i < pattern.size() && pattern[i] == '!') ++i;
    const std::size_t close = pattern.find(']', i + 1);
    return i < pattern.size() && close != std::string::npos ? close + 1 : std::string::npos;
}

bool InSet(const std::string& pattern, std::size_t p, std::size_t end, char c, bool ignoreCase) {
    std::size_t i = p + 1;
    const bool negated = pattern[i] == '!';
    bool found = false;
    for (i += negated ? 1 : 0; i + 1 < end; ++i) {
        const char low = Folded(pattern[i], ignoreCase);
        char high = low;
        if (i + 3 < end && pattern[i + 1] == '-') {
            high = Folded(pattern[i + 2], ignoreCase);
            i += 2;
        }
        found = found || (c >= low && c <= high);
    }
    return found != negated;
}

}  // namespace

std::vector<PresentPort> NewlyPlugged(PortTracker* tracker, const std::vector<PresentPort>& present) {
    std::vector<PresentPort> fresh;
    std::vector<std::string> identities;
    for (const PresentPort& port : present) {
        if (std::find(identities.begin(), identities.end(), port.identity) != identities.end()) continue;
        identities.push_back(port.identity);
        const auto known = [&port](const PresentPort& old) { return old.identity == port.identity; };
        if (std::none_of(tracker->plugged.begin(), tracker->plugged.end(), known)) fresh.push_back(port);
    }
    tracker->plugged = present;
    return fresh;
}

bool MatchesPattern(const std::string& pattern, const std::string& name, bool ignoreCase) {
    // Iterative, with one point to come back to after the last '*': linear in practice, never exponential.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        const char c = Folded(name[n], ignoreCase);
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starN = n;
            continue;
        }
        std::size_t next = p + 1;
        bool matched = false;
        std::size_t setEnd = std::string::npos;
        if (p < pattern.size() && pattern[p] == '?') {
            matched = true;
        } else if (p < pattern.size() && pattern[p] == '[' && (setEnd = SetEnd(pattern, p)) != std::string::npos) {
            matched = InSet(pattern, p, setEnd, c, ignoreCase);
            next = setEnd;
        } else if (p < pattern.size()) {
            matched = Folded(pattern[p], ignoreCase) == c;
        }
        if (matched) {
            p = next;
            ++n;
        } else if (starP != std::string::npos) {
            p = starP;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool PatternCanMatchAPort(const std::string& pattern) {
    for (std::size_t p = pattern.find('['); p != std::string::npos; p = pattern.find('[', p + 1)) {
        const std::size_t end = SetEnd(pattern, p);
        if (end == std::string::npos) return false;
        p = end - 1;
    }
    return !pattern.empty() && pattern.back() != '/';
}
