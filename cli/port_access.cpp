#include "cli/port_access.h"

#include <algorithm>

AccessAdvice AdviceOn(const PortAccess& access) {
    if (!access.known) return AccessAdvice::kNone;
    const auto has = [](const std::vector<std::uint32_t>& groups, std::uint32_t group) {
        return std::find(groups.begin(), groups.end(), group) != groups.end();
    };
    // Joining helps only where the group may read and write and nothing else would let the user in; the
    // root group is never one to join. Denied although the mode lets the user in: an access list or a
    // security module, or the mode changed since (udev at work); the node is shown either way.
    const bool groupMayUse = (access.mode & 060) == 060 && access.group != 0;
    const bool othersMayUse = (access.mode & 006) == 006;
    if (access.user == access.owner || !groupMayUse || othersMayUse || has(access.groupsNow, access.group)) {
        return AccessAdvice::kNodeAsIs;
    }
    return has(access.groupsListed, access.group) ? AccessAdvice::kLogInAgain : AccessAdvice::kJoinGroup;
}
