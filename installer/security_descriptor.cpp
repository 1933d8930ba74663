#include "installer/security_descriptor.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <tuple>

namespace {

constexpr const char* kTrustedInstallerSid = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

Principal PrincipalNamed(const std::string& sid) {
    if (sid == "BA" || sid == "S-1-5-32-544") return Principal::kAdministrators;
    if (sid == "SY" || sid == "S-1-5-18") return Principal::kSystem;
    if (sid == "BU" || sid == "S-1-5-32-545") return Principal::kUsers;
    if (sid == kTrustedInstallerSid) return Principal::kTrustedInstaller;
    return Principal::kOther;
}

// A SID string is either two letters (an alias) or "S-" and digits and hyphens; *at is moved past it.
bool ReadSid(const std::string& text, size_t* at, std::string* sid) {
    size_t end = *at;
    if (text.compare(*at, 2, "S-") == 0) {
        end += 2;
        while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '-')) ++end;
    } else if (*at + 2 <= text.size() && std::isupper(static_cast<unsigned char>(text[*at])) &&
               std::isupper(static_cast<unsigned char>(text[*at + 1]))) {
        end += 2;
    }
    if (end == *at) return false;
    *sid = text.substr(*at, end - *at);
    *at = end;
    return true;
}

// The rights of an entry: a number, or two-letter names of rights one after the other.
bool ReadRights(const std::string& field, uint32_t* rights) {
    if (field.empty()) return false;
    if (std::isdigit(static_cast<unsigned char>(field[0]))) {
        char* end = nullptr;
        const unsigned long value = std::strtoul(field.c_str(), &end, 0);
        *rights = static_cast<uint32_t>(value);
        return *end == '\0' && value <= 0xFFFFFFFFul;
    }
    struct Named {
        const char* name;
        uint32_t rights;
    };
    static const Named kNames[] = {
        {"FA", kRightsFull},
        {"FR", 0x120089},
        {"FW", kRightsWrite},
        {"FX", 0x1200A0},
        {"GA", kRightGenericAll},
        {"GR", kRightGenericRead},
        {"GW", 0x40000000},
        {"GX", kRightGenericExecute},
        {"RC", 0x20000},
        {"SD", kRightDelete},
        {"WD", kRightWriteDac},
        {"WO", kRightWriteOwner},
        {"CC", 0x1},
        {"DC", 0x2},
        {"LC", 0x4},
        {"SW", 0x8},
        {"RP", 0x10},
        {"WP", 0x20},
        {"DT", kRightDeleteChild},
        {"LO", 0x80},
        {"CR", 0x100},
    };
    *rights = 0;
    for (size_t at = 0; at < field.size(); at += 2) {
        const Named* found = std::find_if(std::begin(kNames), std::end(kNames),
                                          [&](const Named& named) { return field.compare(at, 2, named.name) == 0; });
        if (found == std::end(kNames) || at + 2 > field.size()) return false;
        *rights |= found->rights;
    }
    return true;
}

bool ReadFlags(const std::string& field, uint8_t* flags) {
    static const char* const kNames[] = {"OI", "CI", "NP", "IO", "ID"};
    *flags = 0;
    for (size_t at = 0; at < field.size(); at += 2) {
        const auto found = std::find_if(std::begin(kNames), std::end(kNames),
                                        [&](const char* name) { return field.compare(at, 2, name) == 0; });
        if (found == std::end(kNames) || at + 2 > field.size()) return false;
        *flags |= static_cast<uint8_t>(1u << (found - std::begin(kNames)));
    }
    *flags &= 0x0F;  // whether an entry came from above does not change what it allows
    return true;
}

// One entry's text between its parentheses: type;flags;rights;object;inherited object;SID[;condition].
bool ReadEntry(const std::string& body, AccessEntry* entry) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t at = 0; at <= body.size() && fields.size() < 6; ++at) {
        if (at == body.size() || body[at] == ';') {
            fields.push_back(body.substr(start, at - start));
            start = at + 1;
        }
    }
    if (fields.size() != 6 || !ReadRights(fields[2], &entry->rights) || !ReadFlags(fields[1], &entry->flags))
        return false;
    entry->who = PrincipalNamed(fields[5]);
    // Allow and deny entries as such; any other kind (object, callback, conditional) is taken as the worst
    // it could be: a full grant to someone unknown.
    entry->allow = fields[0] != "D";
    if (fields[0] != "A" && fields[0] != "D") *entry = {Principal::kOther, true, kRightsFull, entry->flags};
    return true;
}

}  // namespace

bool ParseSecurity(const std::string& text, Security* security) {
    *security = Security{};
    size_t at = 0;
    if (text.compare(0, 2, "O:") == 0) {
        std::string owner;
        at = 2;
        if (!ReadSid(text, &at, &owner)) return false;
        security->owner = PrincipalNamed(owner);
    }
    if (text.compare(at, 2, "D:") != 0) return false;  // no access list was read
    at += 2;
    if (text.compare(at, 17, "NO_ACCESS_CONTROL") == 0) {
        security->everyoneFull = true;
        return at + 17 == text.size();
    }
    for (; at < text.size() && text[at] != '('; ++at) {
        if (text[at] == 'P') security->isProtected = true;
    }
    while (at < text.size() && text[at] == '(') {
        int depth = 0;  // a condition holds parentheses of its own
        size_t end = at;
        for (; end < text.size(); ++end) {
            depth += text[end] == '(' ? 1 : text[end] == ')' ? -1 : 0;
            if (depth == 0) break;
        }
        AccessEntry entry{};
        if (end == text.size() || !ReadEntry(text.substr(at + 1, end - at - 1), &entry)) return false;
        security->entries.push_back(entry);
        at = end + 1;
    }
    return at == text.size();
}

bool SameSecurity(const Security& a, const Security& b) {
    const auto sorted = [](std::vector<AccessEntry> entries) {
        std::sort(entries.begin(), entries.end(), [](const AccessEntry& x, const AccessEntry& y) {
            return std::tie(x.who, x.allow, x.rights, x.flags) < std::tie(y.who, y.allow, y.rights, y.flags);
        });
        return entries;
    };
    const auto same = [](const AccessEntry& x, const AccessEntry& y) {
        return std::tie(x.who, x.allow, x.rights, x.flags) == std::tie(y.who, y.allow, y.rights, y.flags);
    };
    const std::vector<AccessEntry> left = sorted(a.entries), right = sorted(b.entries);
    return a.owner == b.owner && a.everyoneFull == b.everyoneFull && a.isProtected == b.isProtected &&
           std::equal(left.begin(), left.end(), right.begin(), right.end(), same);
}
