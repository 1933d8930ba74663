#include <gtest/gtest.h>

#include "cli/port_access.h"

// The advice on a port refused: joining a group only where the node's group would let the user in, and the
// node shown where nothing the user can join would.
TEST(PortAccess, TheNodesGroupAndTheUsersGroupsDecideTheAdvice) {
    constexpr std::uint32_t kDialout = 20;
    constexpr std::uint32_t kUser = 1000;
    // Rows: the node's mode, owner and group, the process's groups and the user's listed groups.
    const auto access = [](std::uint32_t mode, std::uint32_t owner, std::uint32_t group, std::vector<std::uint32_t> now,
                           std::vector<std::uint32_t> listed) {
        return PortAccess{true, "", mode, owner, group, "", "", kUser, std::move(now), std::move(listed)};
    };
    const std::tuple<const char*, PortAccess, AccessAdvice> rows[] = {
        {"set up by udev, user not in its group", access(0660, 0, kDialout, {kUser}, {kUser}),
         AccessAdvice::kJoinGroup},
        {"another distribution's group (uucp)", access(0660, 0, 14, {kUser}, {kUser}), AccessAdvice::kJoinGroup},
        {"joined, this session from before", access(0660, 0, kDialout, {kUser}, {kUser, kDialout}),
         AccessAdvice::kLogInAgain},
        {"in the group, refused all the same", access(0660, 0, kDialout, {kUser, kDialout}, {kUser, kDialout}),
         AccessAdvice::kNodeAsIs},
        {"before udev: root:root 0600", access(0600, 0, 0, {kUser, kDialout}, {kUser, kDialout}),
         AccessAdvice::kNodeAsIs},
        {"before udev: its group not yet let in", access(0600, 0, kDialout, {kUser}, {kUser}), AccessAdvice::kNodeAsIs},
        {"the root group is never to join", access(0660, 0, 0, {kUser}, {kUser}), AccessAdvice::kNodeAsIs},
        {"group may only write (a terminal)", access(0620, 0, 5, {kUser}, {kUser}), AccessAdvice::kNodeAsIs},
        {"the user's own node", access(0000, kUser, kDialout, {kUser}, {kUser}), AccessAdvice::kNodeAsIs},
        {"open to all, refused all the same", access(0666, 0, kDialout, {kUser}, {kUser}), AccessAdvice::kNodeAsIs},
    };
    for (const auto& [row, portAccess, advice] : rows) EXPECT_EQ(AdviceOn(portAccess), advice) << row;
    EXPECT_EQ(AdviceOn(PortAccess()), AccessAdvice::kNone);  // the node not seen (Windows)
}
