#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What keeps a user from a port: its node's owner, group and mode, and the user's groups, decide which
// advice a permission-denied failure gives.

// A port's node and the user who may not open it, as the system gives them (LookAtPortAccess).
struct PortAccess {
    bool known = false;      // the node could be looked at (never on Windows, where no group gives a port)
    std::string node;        // the path its links lead to
    std::uint32_t mode = 0;  // the permission bits: 0660
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::string ownerName;  // "" where the system has no name for the id
    std::string groupName;
    std::uint32_t user = 0;                   // the effective user id
    std::vector<std::uint32_t> groupsNow;     // the process's groups, effective and supplementary
    std::vector<std::uint32_t> groupsListed;  // the user's groups in the group database: this session's after a log-in
};

enum class AccessAdvice {
    kNone,        // nothing known to say
    kJoinGroup,   // the node's group may use it and the user is not in that group: join it
    kLogInAgain,  // the user is in that group by the database, but this session began before
    kNodeAsIs,    // the node itself keeps the user out (root:root 0600 before udev has set it up): show it
};

AccessAdvice AdviceOn(const PortAccess& access);
