#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The owner and the access entries of a file or folder, as far as the install folder's lock cares. Windows
// hands them over as text (the security descriptor string format), which ParseSecurity reads.

// Those who may hold the install folder are the first three; Users may read and run what is in it.
enum class Principal { kAdministrators, kSystem, kTrustedInstaller, kUsers, kOther };

// Access rights and entry flags, with the values Windows gives them.
constexpr uint32_t kRightsFull = 0x1F01FF;         // full control
constexpr uint32_t kRightsReadExecute = 0x1200A9;  // read, list, run, read attributes and rights
constexpr uint32_t kRightsWrite = 0x120116;        // write and append data, attributes and extended attributes
constexpr uint32_t kRightDeleteChild = 0x40, kRightDelete = 0x10000, kRightWriteDac = 0x40000,
                   kRightWriteOwner = 0x80000, kRightGenericAll = 0x10000000, kRightGenericExecute = 0x20000000,
                   kRightGenericRead = 0x80000000;
constexpr uint8_t kEntryInheritOnly = 0x08;  // applies to what is made inside, not to the folder itself

struct AccessEntry {
    Principal who;
    bool allow;  // else it denies
    uint32_t rights;
    uint8_t flags;  // inheritance flags (OI 0x01, CI 0x02, NP 0x04, IO 0x08); "inherited" (0x10) is left out
};

struct Security {
    Principal owner = Principal::kOther;
    bool everyoneFull = false;  // no access list at all: anyone may do anything
    bool isProtected = false;   // entries of the folders above are not inherited
    std::vector<AccessEntry> entries;
};

// False when the text is not one Windows writes (then nothing about the item is known).
bool ParseSecurity(const std::string& text, Security* security);

// The same owner, protection and entries, in any order.
bool SameSecurity(const Security& a, const Security& b);
