#pragma once

#include <string>
#include <vector>

#include "installer/manifest.h"  // Verdict and the installed files, written by CMake from installer/manifest.txt
#include "installer/security_descriptor.h"

// Whether the installer may lock a folder and put the program there, and whether the uninstaller may
// delete from it, decided from what was found on disk: kinds, owners, access entries and listings.

enum class ItemKind { kMissing, kFile, kFolder, kLink, kUnreadable };  // kLink: any reparse point

struct FoundItem {
    std::string name;
    ItemKind kind;
    bool moreNames = false;  // a file with a second name (a hard link): whoever holds that one shares it
};

// One path as found: what it is and, for a folder, its owner and entries (securityRead false: not read).
struct FoundPath {
    std::string path;
    ItemKind kind = ItemKind::kMissing;
    bool securityRead = false;
    Security security;
};

struct FolderFacts {
    FoundPath folder;
    std::string fullPath;          // the folder's path as every call completes it ("" when it has none)
    bool fixedDrive = false;       // its drive is one of this computer's own
    std::vector<FoundPath> above;  // each folder above it, the nearest first, the drive's root last
    bool listed = false;           // the folder's listing (when it is a folder)
    std::vector<FoundItem> items;
    FoundPath help;           // help\ (when it is a folder): its owner and entries
    bool helpListed = false;  // its listing
    std::vector<FoundItem> helpItems;
};

struct Decision {
    Verdict verdict;
    std::string item;
};

// The folders above a path such as C:\A\B (C:\A, then C:\); false for anything but a plain absolute path
// on a drive letter (no "." or ".." part, no empty part).
bool FoldersAbove(const std::string& path, std::vector<std::string>* above);

// The names the installer puts into the folder and into help\ (each of its kind), in any spelling.
// A file a reinstall moved aside (its name and kAsideSuffix) is one of them until it is put back or deleted.
bool IsInstalledName(const std::string& name, ItemKind kind, bool inHelp);
bool IsAside(const FoundItem& item);
// The rights the seal gives an installed item of the folder or of help\ (none moved aside): appconfig.ini, the
// one file users write, in any spelling, gets its own.
const char* MeantSecurity(const FoundItem& item, bool inHelp);

// The install: kGo to make the folder (folder.kind kMissing) or to take it over; nothing is changed otherwise.
Decision DecideInstall(const FolderFacts& facts);
// After extraction, before each item is given its rights: as the install, but help\ is the one made under
// the lock, owned as the installer's token says (a policy may name the administrator's own account).
Decision DecideSeal(const FolderFacts& facts);
// The uninstall: kGo when nothing it deletes is or lies under a reparse point and only administrators could
// have changed the folder since the checks.
Decision DecideUninstall(const FolderFacts& facts);
// The installer's own files in the folder and in help\ (never a file of the user's). Each that the install
// replaces or the uninstall deletes must be free before anything is changed; the install keeps the settings
// file, the uninstall runs from uninstall.exe.
struct OwnFile {
    std::string path;
    bool mustBeFree;
};
std::vector<OwnFile> OwnFiles(const FolderFacts& facts, bool uninstall);
// A reinstall replaces the installer's files (not the settings) so that a failure at any step leaves the earlier
// install whole: each is first renamed within its folder (no user can make or replace anything there), the new
// files are put in place and sealed, and only then are the moved-aside ones deleted; a failure removes the new
// files and renames the old ones back. Each plan is made from the folder as found and run in order.
struct PlanStep {
    enum class Op { kDelete, kDeleteFolder, kRename } op;
    std::string path;
    std::string to;  // kRename's new name
};
// Before extraction. A moved-aside file left by a run that was stopped dead is the earlier install's, whole,
// while its name may hold that run's half-written file: the aside is kept and the file at the name deleted.
std::vector<PlanStep> MoveAsidePlan(const FolderFacts& facts);
// On a failure: every moved-aside file renamed back over what is at its name. Once the install has put its files
// in place (extracted), what it added goes too: everything, when nothing was moved aside (a first install), else
// its files that had no earlier one.
std::vector<PlanStep> PutBackPlan(const FolderFacts& facts, bool extracted);
// Once everything has passed: the moved-aside files deleted.
std::vector<PlanStep> DropAsidePlan(const FolderFacts& facts);
// The rights read back from one item after the install compared with those meant for it.
bool LockedAsMeant(const std::string& found, const char* meant);
