#include "installer/folder_lock.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsAdministrator(Principal who) {
    return who == Principal::kAdministrators || who == Principal::kSystem || who == Principal::kTrustedInstaller;
}

bool SameName(const std::string& a, const char* b) {
    return std::equal(a.begin(), a.end(), b, b + std::char_traits<char>::length(b), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// Anyone but the administrators may do more than read and run in the folder, or something is denied (a
// folder of this installer has no deny entry; one that hides items from Administrators would keep them).
// An inherit-only entry gives nothing on the folder itself, only on what is made in it later, which takes
// the right to write there; what it gave help\ shows on help\, checked as the folder is. So the entries
// every folder made in Program Files inherits (CREATOR OWNER full, for one) do not count against it.
bool OpenToOthers(const Security& security) {
    if (!IsAdministrator(security.owner) || security.everyoneFull) return true;
    const uint32_t readOnly = kRightsReadExecute | kRightGenericRead | kRightGenericExecute;
    return std::any_of(security.entries.begin(), security.entries.end(), [&](const AccessEntry& entry) {
        return !entry.allow ||
               (!IsAdministrator(entry.who) && !(entry.flags & kEntryInheritOnly) && (entry.rights & ~readOnly) != 0);
    });
}

// A folder above the install folder lets a non-administrator rename or delete what is in it, rename it
// itself (a drive's root cannot be), or change its rights. Making new items beside ours is allowed: every
// signed-in user may make folders in C:\, and none of that reaches into a locked folder.
bool OpenAbove(const Security& security, bool isRoot) {
    if (!IsAdministrator(security.owner) || security.everyoneFull) return true;
    const uint32_t replacing =
        kRightDeleteChild | kRightWriteDac | kRightWriteOwner | kRightGenericAll | (isRoot ? 0 : kRightDelete);
    return std::any_of(security.entries.begin(), security.entries.end(), [&](const AccessEntry& entry) {
        return entry.allow && !(entry.flags & kEntryInheritOnly) && !IsAdministrator(entry.who) &&
               (entry.rights & replacing) != 0;
    });
}

// The installed file of that name in the folder or in help\, or null.
const InstalledFile* InstalledFileNamed(const std::string& name, bool inHelp) {
    for (const InstalledFile& file : kInstalledFiles) {
        if (file.inHelp == inHelp && SameName(name, file.name)) return &file;
    }
    return nullptr;
}

// The installer's files a reinstall replaces: all but the settings.
bool IsReplacedName(const std::string& name, bool inHelp) {
    const InstalledFile* file = InstalledFileNamed(name, inHelp);
    return file && file->made != Made::kSettings;
}

// The name a moved-aside file had, or "" when this is no such name.
std::string NameBeforeAside(const std::string& name) {
    const size_t suffix = std::char_traits<char>::length(kAsideSuffix);
    if (name.size() <= suffix || !SameName(name.substr(name.size() - suffix), kAsideSuffix)) return std::string();
    return name.substr(0, name.size() - suffix);
}

// A file of the installer's name that has a second name elsewhere is not its own: its rights, set or taken
// away here, would be those of the other name's file, which anyone may have made.
bool IsOwnItem(const FoundItem& item, bool inHelp) {
    return !item.moreNames && IsInstalledName(item.name, item.kind, inHelp);
}

// The first item among these that is a link, or not the installer's (only links when linksOnly).
const FoundItem* FirstStranger(const std::vector<FoundItem>& items, bool inHelp, bool linksOnly) {
    for (const FoundItem& item : items) {
        if (item.kind == ItemKind::kLink) return &item;
        if (!linksOnly && !IsOwnItem(item, inHelp)) return &item;
    }
    return nullptr;
}

enum class Step { kInstall, kSeal, kUninstall };

// What both the install and the uninstall require of the folders above, the folder and its content.
Decision CheckFolder(const FolderFacts& facts, Step step) {
    const bool uninstall = step == Step::kUninstall;
    const FoundPath& folder = facts.folder;
    std::vector<std::string> above;
    // The name checked is the one every call uses, on a drive that stays: a trailing dot or space that the
    // system drops, or a drive that can be taken away or is shared, would put the checks on another folder.
    if (!FoldersAbove(folder.path, &above) || !SameName(facts.fullPath, folder.path.c_str()) || !facts.fixedDrive)
        return {Verdict::kNotLocalPath, folder.path};
    for (const FoundPath& up : facts.above) {
        if (up.kind == ItemKind::kLink) return {Verdict::kLink, up.path};
    }
    // The uninstall too: a folder above that lets others rename what it holds lets them swap the install
    // folder for a link between the checks and the deletes, or before the deletes left to the restart.
    for (const FoundPath& up : facts.above) {
        if (up.kind == ItemKind::kUnreadable || (up.kind == ItemKind::kFolder && !up.securityRead))
            return {Verdict::kUnreadable, up.path};
        if (up.kind != ItemKind::kFolder || OpenAbove(up.security, &up == &facts.above.back()))
            return {Verdict::kOpenAbove, up.path};
    }
    switch (folder.kind) {
        case ItemKind::kMissing:
            return {Verdict::kGo, folder.path};
        case ItemKind::kLink:
            return {Verdict::kLink, folder.path};
        case ItemKind::kFile:
            return {Verdict::kForeignItem, folder.path};
        case ItemKind::kUnreadable:
            return {Verdict::kUnreadable, folder.path};
        case ItemKind::kFolder:
            break;
    }
    if (!folder.securityRead) return {Verdict::kUnreadable, folder.path};
    if (OpenToOthers(folder.security)) return {Verdict::kForeignRights, folder.path};
    if (!facts.listed) return {Verdict::kUnreadable, folder.path};
    // The uninstall keeps what is not its own, and deletes nothing through a link.
    if (const FoundItem* stranger = FirstStranger(facts.items, false, uninstall)) {
        return {stranger->kind == ItemKind::kLink ? Verdict::kLink : Verdict::kForeignItem,
                folder.path + "\\" + stranger->name};
    }
    const bool hasHelp = std::any_of(facts.items.begin(), facts.items.end(), [](const FoundItem& item) {
        return item.kind == ItemKind::kFolder && SameName(item.name, kHelpFolder);
    });
    if (!hasHelp) return {Verdict::kGo, folder.path};
    const std::string help = folder.path + "\\" + kHelpFolder;
    if (!facts.helpListed || !facts.help.securityRead) return {Verdict::kUnreadable, help};
    // What help\ holds is deleted through it: nobody else may be able to empty it and make it a link
    // meanwhile (a help\ planted before an earlier version locked the folder kept its owner and entries).
    if (step != Step::kSeal && OpenToOthers(facts.help.security)) return {Verdict::kForeignRights, help};
    if (const FoundItem* stranger = FirstStranger(facts.helpItems, true, uninstall)) {
        return {stranger->kind == ItemKind::kLink ? Verdict::kLink : Verdict::kForeignItem,
                help + "\\" + stranger->name};
    }
    return {Verdict::kGo, folder.path};
}

}  // namespace

bool FoldersAbove(const std::string& path, std::vector<std::string>* above) {
    above->clear();
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() < 4 || !std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':' || !separator(path[2]))
        return false;
    std::vector<std::string> found{path.substr(0, 3)};
    size_t start = 3;
    for (size_t at = 3; at <= path.size(); ++at) {
        if (at < path.size() && !separator(path[at])) continue;
        const std::string part = path.substr(start, at - start);
        if (part.empty() || part == "." || part == "..") return false;
        if (at < path.size()) found.push_back(path.substr(0, at));
        start = at + 1;
    }
    above->assign(found.rbegin(), found.rend());
    return true;
}

bool IsInstalledName(const std::string& name, ItemKind kind, bool inHelp) {
    if (kind == ItemKind::kFolder) return !inHelp && SameName(name, kHelpFolder);
    const std::string before = NameBeforeAside(name);
    return kind == ItemKind::kFile &&
           (before.empty() ? InstalledFileNamed(name, inHelp) != nullptr : IsReplacedName(before, inHelp));
}

bool IsAside(const FoundItem& item) { return item.kind == ItemKind::kFile && !NameBeforeAside(item.name).empty(); }

const char* MeantSecurity(const FoundItem& item, bool inHelp) {
    if (item.kind == ItemKind::kFolder) return kLockedFolderSecurity;
    const InstalledFile* file = InstalledFileNamed(item.name, inHelp);
    return file ? file->security : kLockedFileSecurity;
}

Decision DecideInstall(const FolderFacts& facts) { return CheckFolder(facts, Step::kInstall); }

Decision DecideSeal(const FolderFacts& facts) { return CheckFolder(facts, Step::kSeal); }

Decision DecideUninstall(const FolderFacts& facts) { return CheckFolder(facts, Step::kUninstall); }

std::vector<OwnFile> OwnFiles(const FolderFacts& facts, bool uninstall) {
    std::vector<OwnFile> files;
    for (const FoundItem& item : facts.items) {
        if (item.kind != ItemKind::kFile || !IsOwnItem(item, false)) continue;
        const InstalledFile* file = InstalledFileNamed(item.name, false);  // null for one moved aside
        const bool kept = file && file->made == (uninstall ? Made::kUninstaller : Made::kSettings);
        files.push_back({facts.folder.path + "\\" + item.name, !kept});
    }
    for (const FoundItem& item : facts.helpItems) {
        if (IsOwnItem(item, true)) files.push_back({facts.help.path + "\\" + item.name, true});
    }
    return files;
}

namespace {

// The folder's listing and help\'s, each with its path.
struct Listing {
    const std::string& path;
    const std::vector<FoundItem>& items;
    bool inHelp;
};

std::vector<Listing> ListingsOf(const FolderFacts& facts) {
    std::vector<Listing> listings{{facts.folder.path, facts.items, false}};
    if (facts.helpListed) listings.push_back({facts.help.path, facts.helpItems, true});
    return listings;
}

bool HasAside(const Listing& listing, const std::string& name) {
    return std::any_of(listing.items.begin(), listing.items.end(), [&](const FoundItem& item) {
        return IsOwnItem(item, listing.inHelp) && SameName(NameBeforeAside(item.name), name.c_str());
    });
}

}  // namespace

std::vector<PlanStep> MoveAsidePlan(const FolderFacts& facts) {
    std::vector<PlanStep> plan;
    for (const Listing& listing : ListingsOf(facts)) {
        for (const FoundItem& item : listing.items) {
            if (!IsOwnItem(item, listing.inHelp) || !IsReplacedName(item.name, listing.inHelp)) continue;
            const std::string path = listing.path + "\\" + item.name;
            if (HasAside(listing, item.name)) {
                plan.push_back({PlanStep::Op::kDelete, path, ""});
            } else {
                plan.push_back({PlanStep::Op::kRename, path, path + kAsideSuffix});
            }
        }
    }
    return plan;
}

std::vector<PlanStep> PutBackPlan(const FolderFacts& facts, bool extracted) {
    const std::vector<Listing> listings = ListingsOf(facts);
    const bool firstInstall = std::none_of(listings.begin(), listings.end(), [](const Listing& listing) {
        return std::any_of(listing.items.begin(), listing.items.end(),
                           [&](const FoundItem& item) { return IsOwnItem(item, listing.inHelp) && IsAside(item); });
    });
    std::vector<PlanStep> deletes, renames;
    for (const Listing& listing : listings) {
        for (const FoundItem& item : listing.items) {
            if (!IsOwnItem(item, listing.inHelp) || item.kind != ItemKind::kFile) continue;
            const std::string path = listing.path + "\\" + item.name, before = NameBeforeAside(item.name);
            if (!before.empty()) {
                renames.push_back({PlanStep::Op::kRename, path, listing.path + "\\" + before});
            } else if (extracted && firstInstall) {
                deletes.push_back({PlanStep::Op::kDelete, path, ""});
            } else if (IsReplacedName(item.name, listing.inHelp) && (extracted || HasAside(listing, item.name))) {
                deletes.push_back({PlanStep::Op::kDelete, path, ""});
            }
        }
    }
    if (extracted && firstInstall && facts.helpListed)
        deletes.push_back({PlanStep::Op::kDeleteFolder, facts.help.path, ""});
    deletes.insert(deletes.end(), renames.begin(), renames.end());
    return deletes;
}

std::vector<PlanStep> DropAsidePlan(const FolderFacts& facts) {
    std::vector<PlanStep> plan;
    for (const Listing& listing : ListingsOf(facts)) {
        for (const FoundItem& item : listing.items) {
            if (IsOwnItem(item, listing.inHelp) && IsAside(item))
                plan.push_back({PlanStep::Op::kDelete, listing.path + "\\" + item.name, ""});
        }
    }
    return plan;
}

bool LockedAsMeant(const std::string& found, const char* meant) {
    Security foundSecurity, meantSecurity;
    return ParseSecurity(found, &foundSecurity) && ParseSecurity(meant, &meantSecurity) &&
           SameSecurity(foundSecurity, meantSecurity);
}
