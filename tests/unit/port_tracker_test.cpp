// watch's choice of ports: the shell patterns of --port, and each plugged port asked once.
#include <gtest/gtest.h>
#include <fnmatch.h>

#include "cli/port_tracker.h"

TEST(PortTracker, PatternsMatchAsTheShellsDo) {
    const char* patterns[] = {"/dev/ttyUSB*", "/dev/tty[A-Z]*[0-9]", "*reader-?", "[!/]*", "COM1?", "a[]]b",
                              "a[b",          "*a*a*a*a*a*a*b",      "",          "*",     "[a-]x", "x[!a-c]",
                              "[!]a]x"};
    const char* names[] = {"/dev/ttyUSB0",
                           "/dev/ttyACM12",
                           "/tmp/w/reader-3",
                           "/tmp/w/reader-10",
                           "COM12",
                           "COM1",
                           "a]b",
                           "a[b",
                           "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaac",
                           "",
                           "-x",
                           "xd",
                           "xb"};
    for (const char* pattern : patterns) {
        for (const char* name : names) {
            EXPECT_EQ(MatchesPattern(pattern, name, false), fnmatch(pattern, name, 0) == 0) << pattern << " " << name;
        }
    }
    EXPECT_TRUE(MatchesPattern("com1?", "COM12", true));
    EXPECT_TRUE(MatchesPattern("COM[a-c]", "comB", true));
    EXPECT_FALSE(MatchesPattern("com1?", "COM12", false));
    // A '[' without its ']', or a folder's path, matches no port ("[[]" is a set of '[' alone).
    const std::pair<const char*, bool> canMatch[] = {
        {"COM[1-9]", true}, {"a[[]b", true}, {"COM[1", false}, {"/dev/", false}};
    for (const auto& [pattern, can] : canMatch) EXPECT_EQ(PatternCanMatchAPort(pattern), can) << pattern;
}

TEST(PortTracker, APortIsAskedWhenItAppearsAndAgainOnlyAfterItWasGone) {
    PortTracker tracker;
    const PresentPort a{"/tmp/w/reader-a", "/dev/pts/3"};
    const PresentPort b{"/tmp/w/reader-b", "/dev/pts/4"};
    const PresentPort aElsewhere{"/tmp/w/reader-a", "/dev/pts/9"};  // the link now leads to another reader
    const PresentPort bByTty{"/dev/pts/4", "/dev/pts/4"};
    const PresentPort bById{"/dev/serial/by-id/b", "/dev/pts/4"};  // a second link, sorted before the first
    const std::vector<std::vector<PresentPort>> looks = {{a},          {a}, {a, b, bByTty}, {b}, {bById, b}, {bById},
                                                         {aElsewhere}, {b}, {a, b}};
    const std::vector<std::string> expected = {"/dev/pts/3", "",           "/dev/pts/4", "",          "",
                                               "",           "/dev/pts/9", "/dev/pts/4", "/dev/pts/3"};
    for (std::size_t i = 0; i < looks.size(); ++i) {
        std::string asked;
        for (const PresentPort& port : NewlyPlugged(&tracker, looks[i])) asked += port.identity;
        EXPECT_EQ(asked, expected[i]) << "look " << i;
    }
}
