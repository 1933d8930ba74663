#include "installer/folder_lock_steps.h"

#include <vector>

#include "base/file_system_glue.h"
#include "installer/file_security_glue.h"
#include "installer/folder_glue.h"

namespace {

// The decisions tell links and folders apart; anything else that is there is a file no install put there.
ItemKind KindAt(const std::string& path) {
    const PathFacts facts = LookAtPath(path);
    if (facts.error != 0) return ItemKind::kUnreadable;
    switch (facts.kind) {
        case PathKind::kMissing:
            return ItemKind::kMissing;
        case PathKind::kLink:
            return ItemKind::kLink;
        case PathKind::kFolder:
            return ItemKind::kFolder;
        default:
            return ItemKind::kFile;
    }
}

// A listing, with each file's second names read from the file itself (a listing does not give them). A file
// that cannot be looked at counts as having more, which makes it no file of ours.
bool List(const std::string& folder, std::vector<FoundItem>* items) {
    const bool listed = ListFolder(folder, items);
    for (FoundItem& item : *items) {
        if (item.kind == ItemKind::kFile) item.moreNames = LookAtPath(folder + "\\" + item.name).names != 1;
    }
    return listed;
}

FoundPath Look(const std::string& path) {
    FoundPath found;
    found.path = path;
    found.kind = KindAt(path);
    std::string text;
    if (found.kind == ItemKind::kFolder)
        found.securityRead = ReadSecurityText(path, &text) && ParseSecurity(text, &found.security);
    return found;
}

FolderFacts LookAt(const std::string& folder) {
    FolderFacts facts;
    facts.folder = Look(folder);
    std::vector<std::string> above;
    facts.fullPath = FullPathOf(folder);
    if (FoldersAbove(folder, &above)) facts.fixedDrive = IsFixedDrive(above.back());
    for (const std::string& path : above) facts.above.push_back(Look(path));
    if (facts.folder.kind != ItemKind::kFolder) return facts;
    facts.listed = List(folder, &facts.items);
    for (const FoundItem& item : facts.items) {
        if (item.kind == ItemKind::kFolder && IsInstalledName(item.name, item.kind, false)) {
            facts.help = Look(folder + "\\" + item.name);
            facts.helpListed = List(facts.help.path, &facts.helpItems);
        }
    }
    return facts;
}

// The decision, then whether every file it would replace or delete is free: a running program stops the
// step before anything is changed, rather than halfway through the deletes. A read-only attribute on the
// installer's own files is taken off first: it would stop the deletes and, on the settings file, the saves.
Decision DecideFree(const FolderFacts& facts, bool uninstall) {
    const Decision decision = uninstall ? DecideUninstall(facts) : DecideInstall(facts);
    if (decision.verdict != Verdict::kGo) return decision;
    for (const OwnFile& file : OwnFiles(facts, uninstall)) {
        ClearReadOnly(file.path);
        if (file.mustBeFree && !CanReplace(file.path)) return {Verdict::kInUse, file.path};
    }
    return decision;
}

// Runs a plan in order, stopping at the first step that fails.
Decision RunPlan(const std::vector<PlanStep>& plan) {
    for (const PlanStep& step : plan) {
        const bool done = step.op == PlanStep::Op::kRename
                              ? RenameItem(step.path, step.to)
                              : DeleteItem(step.path, step.op == PlanStep::Op::kDeleteFolder);
        if (!done) return {Verdict::kFailed, step.path};
    }
    return {Verdict::kGo, ""};
}

Decision Lock(const std::string& folder) {
    const FolderFacts facts = LookAt(folder);
    const Decision decision = DecideFree(facts, false);
    if (decision.verdict != Verdict::kGo) return decision;
    // No moment exists in which the folder is open: it is made with its final owner and rights.
    if (facts.folder.kind == ItemKind::kMissing)
        return MakeFolderWithSecurity(folder, kLockedFolderSecurity) ? decision : Decision{Verdict::kNotMade, folder};
    if (!WriteSecurity(folder, kLockedFolderSecurity)) return {Verdict::kFailed, folder};
    // An earlier install is moved aside now that nobody else can add to the folder, so that each file is made
    // anew under the lock, and put back if the install stops; a file that cannot be moved stops it here, the
    // renames taken back. The user's settings stay, given the lock's rights again by the seal.
    const Decision moved = RunPlan(MoveAsidePlan(facts));
    if (moved.verdict == Verdict::kGo) return decision;
    RunPlan(PutBackPlan(LookAt(folder), false));
    return moved;
}

bool ReadsAsMeant(const std::string& path, const char* meant) {
    std::string text;
    return ReadSecurityText(path, &text) && LockedAsMeant(text, meant);
}

// Gives one installed item its rights and reads them back.
Decision SealItem(const std::string& path, const char* meant) {
    if (!WriteSecurity(path, meant)) return {Verdict::kFailed, path};
    return ReadsAsMeant(path, meant) ? Decision{Verdict::kGo, path} : Decision{Verdict::kDiffers, path};
}

Decision Seal(const std::string& folder) {
    const FolderFacts facts = LookAt(folder);
    const Decision decision = DecideSeal(facts);  // only the installer's items, no link
    if (decision.verdict != Verdict::kGo) return decision;
    if (facts.folder.kind != ItemKind::kFolder || !ReadsAsMeant(folder, kLockedFolderSecurity))
        return {Verdict::kDiffers, folder};
    for (const FoundItem& item : facts.items) {
        const std::string path = folder + "\\" + item.name;
        if (IsAside(item)) continue;
        Decision sealed = SealItem(path, MeantSecurity(item, false));
        for (size_t at = 0; item.kind == ItemKind::kFolder && at < facts.helpItems.size(); ++at) {
            const FoundItem& helpItem = facts.helpItems[at];
            if (sealed.verdict == Verdict::kGo && !IsAside(helpItem))
                sealed = SealItem(path + "\\" + helpItem.name, MeantSecurity(helpItem, true));
        }
        if (sealed.verdict != Verdict::kGo) return sealed;
    }
    // The earlier install is no longer needed. One that cannot be deleted now (its program started meanwhile)
    // stays the installer's own, deleted by the next install or the uninstaller.
    RunPlan(DropAsidePlan(facts));
    return decision;
}

// After a failure: the earlier install put back, or everything of a first install deleted. Only files of the
// installer's names are touched, none through a link, whatever the rights found (a drive that keeps none).
Decision Restore(const std::string& folder) { return RunPlan(PutBackPlan(LookAt(folder), true)); }

}  // namespace

Decision RunStep(const std::string& step, const std::string& folder) {
    if (step == "check") return DecideFree(LookAt(folder), false);
    if (step == "lock") return Lock(folder);
    if (step == "seal") return Seal(folder);
    if (step == "restore") return Restore(folder);
    if (step == "uninstall") return DecideFree(LookAt(folder), true);
    return {Verdict::kUsage, step};
}
