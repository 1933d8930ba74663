#include <gtest/gtest.h>

#include <cstdint>
#include <map>

#include "base/open_access.h"
#include "installer/folder_lock.h"
#include "installer/folder_lock_steps.h"
#include "product.h"
#include "testkit/fakes/fakes.h"

namespace {

// C:\ of a clean Windows: signed-in users may make folders there, and own what they make.
const char* const kDriveRoot =
    "O:SYD:PAI(A;OICIIO;SDGXGWGR;;;AU)(A;;LC;;;AU)(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"
    "(A;OICIIO;GA;;;CO)";
const char* const kUser = "S-1-5-21-1-2-3-1001";
const char* const kInstaller = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

FoundPath Found(const std::string& path, ItemKind kind, const std::string& security) {
    FoundPath found{path, kind};
    found.securityRead = ParseSecurity(security, &found.security);
    return found;
}

}  // namespace

// Each row changes an earlier good install at C:\Apps\MZ, with C:\Apps as closed as Program Files.
FolderFacts GoodInstall(const std::string& path, void (*change)(FolderFacts&, std::vector<FoundPath>&)) {
    FolderFacts facts{Found(path, ItemKind::kFolder, kLockedFolderSecurity), path, true};
    facts.listed = facts.helpListed = true;
    facts.items = {{EXE_NAME, ItemKind::kFile},
                   {"mz6.exe", ItemKind::kFile},
                   {"appconfig.ini", ItemKind::kFile},
                   {"uninstall.exe", ItemKind::kFile},
                   {"help", ItemKind::kFolder}};
    facts.help = Found(path + "\\help", ItemKind::kFolder, kLockedFolderSecurity);
    facts.helpItems = {{PDF_NAME, ItemKind::kFile}};
    std::vector<std::string> above;
    FoldersAbove(path, &above);
    for (const std::string& up : above)
        facts.above.push_back(Found(up, ItemKind::kFolder, up == "C:\\" ? kDriveRoot : kLockedFolderSecurity));
    change(facts, facts.above);
    return facts;
}

void Secure(FoundPath& found, const std::string& security) {
    found.securityRead = ParseSecurity(security, &found.security);
}

TEST(FolderLock, AFolderIsMadeOrTakenOverOnlyWhenNobodyButAdministratorsCouldHavePutAnythingThere) {
    using F = FolderFacts&;
    using A = std::vector<FoundPath>&;
    struct Row {
        const char* what;
        const char* path;
        void (*change)(F, A);
        Verdict install, uninstall;
        const char* item;  // what the install's verdict names
    };
    const Verdict go = Verdict::kGo, link = Verdict::kLink, rights = Verdict::kForeignRights,
                  unreadable = Verdict::kUnreadable, above = Verdict::kOpenAbove, foreign = Verdict::kForeignItem,
                  local = Verdict::kNotLocalPath;
    const char* const mz = "C:\\Apps\\MZ";
    const Row rows[] = {
        {"a fresh folder", mz, [](F f, A) { f.folder.kind = ItemKind::kMissing; }, go, go, mz},
        {"a fresh folder under C:\\", "C:\\MZ", [](F f, A) { f.folder.kind = ItemKind::kMissing; }, go, go, "C:\\MZ"},
        {"an earlier good install", mz, [](F, A) {}, go, go, mz},
        {"a planted explicit entry", mz,
         [](F f, A) { Secure(f.folder, kLockedFolderSecurity + std::string("(A;OICI;FA;;;") + kUser + ")"); }, rights,
         rights, mz},
        {"a junction", mz, [](F f, A) { f.folder.kind = ItemKind::kLink; }, link, link, mz},
        {"a junction above", mz, [](F, A a) { a[0].kind = ItemKind::kLink; }, link, link, "C:\\Apps"},
        {"a foreign owner", mz,
         [](F f, A) { Secure(f.folder, "O:" + std::string(kUser) + (kLockedFolderSecurity + 4)); }, rights, rights, mz},
        {"entries only for what is made inside (CREATOR OWNER's)", mz,
         [](F f, A) { Secure(f.folder, kLockedFolderSecurity + std::string("(A;OICIIO;GA;;;CO)(A;CIIO;FA;;;BU)")); },
         go, go, mz},
        {"a callback entry, read-only as written: taken as the worst", mz,
         [](F f, A) { Secure(f.folder, kLockedFolderSecurity + std::string("(XA;;FR;;;BU)")); }, rights, rights, mz},
        {"a deny entry", mz, [](F f, A) { Secure(f.folder, kLockedFolderSecurity + std::string("(D;OICI;LC;;;BA)")); },
         rights, rights, mz},
        {"no access list at all", mz, [](F f, A) { Secure(f.folder, "O:BAD:PAINO_ACCESS_CONTROL"); }, rights, rights,
         mz},
        {"a parent with no access list", mz, [](F, A a) { Secure(a[0], "O:BAD:AINO_ACCESS_CONTROL"); }, above, above,
         "C:\\Apps"},
        {"a failing listing", mz, [](F f, A) { f.listed = false; }, unreadable, unreadable, mz},
        {"help\\ not listed", mz, [](F f, A) { f.helpListed = false; }, unreadable, unreadable, "C:\\Apps\\MZ\\help"},
        {"a user-writable parent", mz, [](F, A a) { Secure(a[0], "O:BAD:(A;OICI;0x1301bf;;;BU)"); }, above, above,
         "C:\\Apps"},
        {"a parent as Program Files is (TrustedInstaller's)", mz,
         [](F, A a) { Secure(a[0], "O:" + std::string(kInstaller) + "D:P(A;OICI;FA;;;" + kInstaller + ")"); }, go, go,
         mz},
        {"a parent that denies users a right", mz,
         [](F, A a) { Secure(a[0], "O:BAD:(A;OICI;FA;;;SY)(D;OICI;DT;;;BU)"); }, go, go, mz},
        {"a parent a user owns", mz, [](F, A a) { Secure(a[0], "O:" + std::string(kUser) + "D:(A;OICI;FA;;;SY)"); },
         above, above, "C:\\Apps"},
        {"a missing parent", mz,
         [](F f, A a) {
             f.folder.kind = ItemKind::kMissing;
             a[0].kind = ItemKind::kMissing;
         },
         above, above, "C:\\Apps"},
        {"a planted help\\ junction", mz, [](F f, A) { f.items[4].kind = ItemKind::kLink; }, link, link,
         "C:\\Apps\\MZ\\help"},
        {"help\\ a user owns", mz,
         [](F f, A) { Secure(f.help, "O:" + std::string(kUser) + (kLockedFolderSecurity + 4)); }, rights, rights,
         "C:\\Apps\\MZ\\help"},
        {"the guide a link", mz, [](F f, A) { f.helpItems[0].kind = ItemKind::kLink; }, link, link,
         "C:\\Apps\\MZ\\help\\" PDF_NAME},
        {"a file of the user's own", mz,
         [](F f, A) {
             f.items.push_back({"notes.txt", ItemKind::kFile});
         },
         foreign, go, "C:\\Apps\\MZ\\notes.txt"},
        {"the guide outside help\\", mz, [](F f, A) { f.items[0].name = PDF_NAME; }, foreign, go,
         "C:\\Apps\\MZ\\" PDF_NAME},
        {"a program's name under help\\", mz, [](F f, A) { f.helpItems[0].name = "mz6.exe"; }, foreign, go,
         "C:\\Apps\\MZ\\help\\mz6.exe"},
        {"a help\\ within help\\", mz,
         [](F f, A) {
             f.helpItems.push_back({"Help", ItemKind::kFolder});
         },
         foreign, go, "C:\\Apps\\MZ\\help\\Help"},
        {"mz6.exe a folder", mz,
         [](F f, A) {
             f.items[1] = {"MZ6.EXE", ItemKind::kFolder};
         },
         foreign, go, "C:\\Apps\\MZ\\MZ6.EXE"},
        // A second name (a hard link) made elsewhere: not the installer's file, whatever it is called here.
        {"appconfig.ini with a second name", mz, [](F f, A) { f.items[2].moreNames = true; }, foreign, go,
         "C:\\Apps\\MZ\\appconfig.ini"},
        {"the guide with a second name", mz, [](F f, A) { f.helpItems[0].moreNames = true; }, foreign, go,
         "C:\\Apps\\MZ\\help\\" PDF_NAME},
        {"a path on a share", "\\\\server\\share\\MZ", [](F, A) {}, local, local, "\\\\server\\share\\MZ"},
        {"a path with ..", "C:\\Apps\\..\\MZ", [](F, A) {}, local, local, "C:\\Apps\\..\\MZ"},
        // Checked under one name, used under another: every call drops the dot and turns the slashes.
        {"a trailing dot", "C:\\Apps\\MZ.", [](F f, A) { f.fullPath = "C:\\Apps\\MZ"; }, local, local, "C:\\Apps\\MZ."},
        {"forward slashes", "C:/Apps/MZ", [](F f, A) { f.fullPath = "C:\\Apps\\MZ"; }, local, local, "C:/Apps/MZ"},
        {"a drive letter in lower case", "c:\\Apps\\MZ", [](F f, A) { f.fullPath = "C:\\Apps\\MZ"; }, go, go,
         "c:\\Apps\\MZ"},
        {"a removable or network drive", mz, [](F f, A) { f.fixedDrive = false; }, local, local, mz},
        {"a name with a lone surrogate, passed on as no path", "", [](F, A) {}, local, local, ""},
    };
    for (const Row& row : rows) {
        const FolderFacts facts = GoodInstall(row.path, row.change);
        const Decision install = DecideInstall(facts);
        EXPECT_EQ(install.verdict, row.install) << row.what;
        EXPECT_EQ(install.item, row.item) << row.what;
        EXPECT_EQ(DecideUninstall(facts).verdict, row.uninstall) << row.what;
    }
    // help\ just made under the lock, owned by the administrator's own account until it is sealed.
    const auto made = [](F f, A) { Secure(f.help, std::string("O:S-1-5-21-1-2-3-500") + (kLockedFolderSecurity + 4)); };
    EXPECT_EQ(DecideSeal(GoodInstall(mz, made)).verdict, go);
}

// Each of the installer's files must be free before anything is changed, but the settings a reinstall keeps
// (in any spelling) and the uninstaller, which runs from its own file; the user's files are none of its own.
TEST(FolderLock, EachFileAReinstallReplacesOrTheUninstallerDeletesIsCheckedFirst) {
    const std::string mz = "C:\\Apps\\MZ\\";
    const FolderFacts facts = GoodInstall("C:\\Apps\\MZ", [](FolderFacts& f, std::vector<FoundPath>&) {
        f.items[2].name = "AppConfig.INI";
        f.items.push_back({"notes.txt", ItemKind::kFile});
        f.items.push_back({"uninstall.exe.mz6-old", ItemKind::kFile});  // a stopped reinstall's: freed as any
        f.helpItems.push_back({"notes.txt", ItemKind::kFile});
    });
    const auto found = [&](bool uninstall) {
        std::vector<std::pair<std::string, bool>> files;
        for (const OwnFile& file : OwnFiles(facts, uninstall))
            files.emplace_back(file.path.substr(mz.size()), file.mustBeFree);
        return files;
    };
    const std::vector<std::pair<std::string, bool>> install{{EXE_NAME, true},
                                                            {"mz6.exe", true},
                                                            {"AppConfig.INI", false},
                                                            {"uninstall.exe", true},
                                                            {"uninstall.exe.mz6-old", true},
                                                            {"help\\" PDF_NAME, true}};
    std::vector<std::pair<std::string, bool>> uninstall = install;
    uninstall[2].second = true;
    uninstall[3].second = false;
    EXPECT_EQ(found(false), install);
    EXPECT_EQ(found(true), uninstall);
    // One with a second name is none of its own: its attributes are not touched, nor is it deleted.
    const FolderFacts linked =
        GoodInstall("C:\\Apps\\MZ", [](FolderFacts& f, std::vector<FoundPath>&) { f.items[1].moreNames = true; });
    EXPECT_EQ(OwnFiles(linked, true)[1].path, mz + "appconfig.ini");
}

// The settings, in any spelling, get the rights that let every user save them; all else is locked.
TEST(FolderLock, TheSealLetsUsersWriteTheSettingsFileOnly) {
    const FoundItem settings{"AppConfig.INI", ItemKind::kFile}, program{EXE_NAME, ItemKind::kFile};
    const FoundItem help{"Help", ItemKind::kFolder}, guide{PDF_NAME, ItemKind::kFile};
    EXPECT_STREQ(MeantSecurity(settings, false), kSettingsFileSecurity);
    EXPECT_STREQ(MeantSecurity(settings, true), kLockedFileSecurity);
    EXPECT_STREQ(MeantSecurity(program, false), kLockedFileSecurity);
    EXPECT_STREQ(MeantSecurity(help, false), kLockedFolderSecurity);
    EXPECT_STREQ(MeantSecurity(guide, true), kLockedFileSecurity);
}

TEST(FolderLock, RightsReadBackMatchWhatWasMeantInWhateverSpellingWindowsGivesThem) {
    struct Row {
        const char* found;
        const char* meant;
        bool same;
    };
    const Row rows[] = {
        {"O:BAD:PAI(A;OICI;0x1200a9;;;BU)(A;OICI;FA;;;SY)(A;OICI;FA;;;S-1-5-32-544)", kLockedFolderSecurity, true},
        {"O:BAD:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;FRFX;;;BU)", kLockedFileSecurity, true},
        {"O:BAD:P(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)(A;OICIID;0x1200a9;;;BU)", kLockedFolderSecurity, true},
        // what Wine gives back for anything
        {"O:S-1-5-21-0-0-0-1000D:(A;OICI;FA;;;SY)(A;OICI;FA;;;S-1-5-21-0-0-0-1000)", kLockedFolderSecurity, false},
        {"O:BAD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)", kLockedFolderSecurity, false},  // inherits
        {"O:BAD:NO_ACCESS_CONTROL", kLockedFileSecurity, false},  // a file system without access lists
        {kLockedFileSecurity, kSettingsFileSecurity, false},
        {"O:BAD:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;0x1200a9;;;BU)(XA;;FA;;;BU;(Exists x))", kLockedFileSecurity, false},
        {"O:BAD:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;ZZ;;;BU)", kLockedFileSecurity, false},  // not a text Windows writes
        {"O:BAD:P(A;;FA;;;BA)(A;;FA;;;SY)(A;ZZ;0x1200a9;;;BU)", kLockedFileSecurity, false},
        {"O:BAD:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;0x1200a9;BU)", kLockedFileSecurity, false},  // a field short
        {"O:BAD:P(A;;FA;;;BA)(A;;FA;;;SY)(A;;FXSW;;;BU)", kLockedFileSecurity, false},    // all but reading the data
        {"O:BAD:PX(A;;FA;;;BA)(A;;FA;;;SY)(A;;0x1200a9;;;BU)", kLockedFileSecurity, false},
        {"", kLockedFileSecurity, false},
    };
    for (const Row& row : rows) EXPECT_EQ(LockedAsMeant(row.found, row.meant), row.same) << row.found;
}

// Under the rights Users have on an installed appconfig.ini, the program's own calls go through and nothing that
// would let a user run it, lock it or take it away does. What each call needs is Microsoft's documentation.
TEST(FolderLock, EveryUserSavesTheSettingsFileAndCanDoNothingElseWithIt) {
    Security settings;
    ASSERT_TRUE(ParseSecurity(kSettingsFileSecurity, &settings));
    uint32_t users = 0;
    for (const AccessEntry& entry : settings.entries) users |= entry.who == Principal::kUsers ? entry.rights : 0;
    // What the program asks to load and to save; SetEndOfFile, a cut to length: FILE_WRITE_DATA.
    for (const uint32_t needs : {OpenAccess(false), OpenAccess(true), 0x2u})
        EXPECT_EQ(needs & ~users, 0u) << std::hex << needs;
    // CreateFileW with GENERIC_WRITE (write attributes and extended attributes too); SetFileAttributesW, as to
    // set read-only: FILE_WRITE_ATTRIBUTES; extended attributes: FILE_WRITE_EA; mapped as code (SEC_IMAGE):
    // FILE_EXECUTE; deleted or renamed: DELETE; its rights or owner changed: WRITE_DAC, WRITE_OWNER.
    for (const uint32_t needs : {kRightsWrite, 0x100u, 0x10u, 0x20u, kRightDelete, kRightWriteDac | kRightWriteOwner})
        EXPECT_NE(needs & ~users, 0u) << std::hex << needs;
    // What the program asks covers its calls: ReadFile FILE_READ_DATA; WriteFile over the start FILE_WRITE_DATA,
    // as FlushFileBuffers (FILE_WRITE_DATA or FILE_APPEND_DATA).
    EXPECT_EQ((OpenAccess(false) & 0x1) | (OpenAccess(true) & 0x2), 0x3u);
}

namespace {

// The install folder's items as the fakes keep them: each path under C:\Apps\MZ\ and its bytes ("/": a folder).
using Tree = std::map<std::string, std::string>;
const std::string kMz = "C:\\Apps\\MZ\\";
const char* const kReplaced[] = {"help\\" PDF_NAME, EXE_NAME, "mz6.exe", "uninstall.exe"};  // in extraction order

Tree TreeNow() {
    Tree tree;
    for (const auto& [path, item] : g_fakeFiles.items) {
        if (path.rfind(kMz, 0) == 0) tree[path.substr(kMz.size())] = item.kind == PathKind::kFolder ? "/" : item.bytes;
    }
    return tree;
}

// C:\ and C:\Apps as Program Files are, and C:\Apps\MZ holding `earlier`, or missing when that is empty.
void PlantInstall(const Tree& earlier) {
    StartFreshProgram();
    const auto folder = [](const char* security) {
        FakeItem item{PathKind::kFolder};
        item.security = security;
        return item;
    };
    g_fakeFiles.items = {{"C:\\", folder(kDriveRoot)}, {"C:\\Apps", folder(kLockedFolderSecurity)}};
    if (!earlier.empty()) g_fakeFiles.items["C:\\Apps\\MZ"] = folder(kLockedFolderSecurity);
    for (const auto& [path, bytes] : earlier) {
        g_fakeFiles.items[kMz + path] = bytes == "/" ? folder(kLockedFolderSecurity) : FakeItem{PathKind::kFile, bytes};
    }
}

// What setup.exe extracts between the lock and the seal, each file a change of the disk; false where the disk
// refuses one. Stopped dead (killed) at a file, that file is half written; the settings are a few bytes.
bool Extract(bool killed) {
    std::vector<std::string> extracted(std::begin(kReplaced), std::end(kReplaced));
    if (FakeItemAt(kMz + "appconfig.ini") == nullptr) extracted.push_back("appconfig.ini");
    if (FakeItemAt(kMz + "help") == nullptr) g_fakeFiles.items[kMz + "help"] = {PathKind::kFolder};
    g_fakeFiles.items[kMz + "help"].security = kLockedFolderSecurity;
    for (const std::string& name : extracted) {
        const bool written = FakeChangeAllowed();
        if (written || (killed && name != "appconfig.ini"))
            g_fakeFiles.items[kMz + name] = {PathKind::kFile, written ? "new" : "half"};
        if (!written) return false;
    }
    return true;
}

// An install as setup.exe runs the steps, the disk refusing the change numbered `stop`, or the seal finding a
// file's rights other than it set; once the lock has passed, a failure is restored, unless the run was stopped
// dead at that change (killed). Whether it went through.
bool Install(std::size_t stop, bool killed, bool sealFails = false) {
    const std::string mz = "C:\\Apps\\MZ";
    g_fakeFiles.changes = 0, g_fakeFiles.refusedChange = stop, g_fakeFiles.refusesAfter = killed;
    const bool locked = RunStep("lock", mz).verdict == Verdict::kGo;
    const bool extracted = locked && Extract(killed);
    if (sealFails) g_fakeFiles.items[kMz + EXE_NAME].readsRights = "O:BAD:P(A;;FA;;;WD)";
    const bool through = extracted && RunStep("seal", mz).verdict == Verdict::kGo;
    g_fakeFiles.refusedChange = SIZE_MAX;
    if (locked && !through && !killed) RunStep("restore", mz);
    return through;
}

}  // namespace

// A failure at any change of a reinstall leaves exactly the earlier install (or, for a first one, nothing); a run
// stopped dead leaves files the next run counts as its own and puts back if it fails too, or drops once through.
TEST(FolderLock, AReinstallThatFailsAtAnyStepLeavesTheEarlierInstallAsItWas) {
    Tree whole{{"appconfig.ini", "saved"}, {"help", "/"}};
    for (const char* name : kReplaced) whole[name] = "old";
    Tree without = whole;
    without.erase("mz6.exe");
    for (const Tree& earlier : {whole, without, Tree{}}) {
        Tree done = earlier;
        for (const char* name : kReplaced) done[name] = "new";
        if (earlier.empty()) done["appconfig.ini"] = "new", done["help"] = "/";
        for (std::size_t stop = 0;; ++stop) {
            ASSERT_LT(stop, 60u) << "the install never went through";
            PlantInstall(earlier);
            const bool through = Install(stop, false);
            EXPECT_TRUE(through || TreeNow() == earlier) << stop;
            if (through && TreeNow() == done) break;
            PlantInstall(earlier);
            Install(stop, true);
            const Decision next = RunStep("check", "C:\\Apps\\MZ");
            EXPECT_EQ(next.verdict, Verdict::kGo) << stop << next.item;
            // Killed once the old files were being deleted: a mix of whole ones.
            const bool dropping =
                std::any_of(g_fakeFiles.calls.begin(), g_fakeFiles.calls.end(), [](const std::string& call) {
                    return call.rfind("delete ", 0) == 0 && call.find(kAsideSuffix) != std::string::npos;
                });
            const std::map<std::string, FakeItem> killedAt = g_fakeFiles.items;
            EXPECT_FALSE(Install(SIZE_MAX, false, true));
            Tree failed = TreeNow();
            for (const auto& [path, bytes] : earlier)
                EXPECT_TRUE(failed[path] == bytes || (dropping && failed[path] == "new")) << stop << path;
            g_fakeFiles.items = killedAt;
            EXPECT_TRUE(Install(SIZE_MAX, false));
            EXPECT_EQ(TreeNow(), done) << stop;
        }
    }
    // Only the installer's files moved aside are its own.
    for (const char* name : {"notes.txt.mz6-old", "appconfig.ini.mz6-old", "help.mz6-old"}) {
        Tree tree = whole;
        tree[name] = "";
        PlantInstall(tree);
        EXPECT_EQ(RunStep("check", "C:\\Apps\\MZ").verdict, Verdict::kForeignItem) << name;
    }
}

// The steps name what stopped them: an install that passes leaves every item with its rights; one that fails at a
// rename, a rights write or a read-back is taken back to the folder as it was.
TEST(FolderLock, TheStepsLeaveTheNewInstallSealedOrTheEarlierOneAsItWas) {
    const std::string mz = "C:\\Apps\\MZ";
    Tree earlier{{"appconfig.ini", "saved"}, {"help", "/"}};
    for (const char* name : kReplaced) earlier[name] = "old";
    PlantInstall(earlier);
    EXPECT_TRUE(Install(SIZE_MAX, false));
    for (const auto& [path, item] : g_fakeFiles.items) {
        const char* meant = item.kind == PathKind::kFolder  ? kLockedFolderSecurity
                            : path == kMz + "appconfig.ini" ? kSettingsFileSecurity
                                                            : kLockedFileSecurity;
        EXPECT_TRUE(path.rfind(mz, 0) != 0 || item.security == meant) << path;
    }

    struct Row {
        const char* what;
        std::string item;
        const char* fails;
        const char* readsRights;
        bool atLock;  // planted before the lock, else after the extraction
        Verdict verdict;
    };
    const Row rows[] = {
        {"a file that cannot be moved aside", kMz + "mz6.exe", "r", "", true, Verdict::kFailed},
        {"the folder's rights not set", mz, "s", "", true, Verdict::kFailed},
        {"a file's rights not set", kMz + "mz6.exe", "s", "", false, Verdict::kFailed},
        {"help's rights not set", kMz + "help", "s", "", false, Verdict::kFailed},
        {"a file's rights read back otherwise", kMz + EXE_NAME, "", "O:BAD:P(A;;FA;;;WD)", false, Verdict::kDiffers},
        {"a program running from a file", kMz + "mz6.exe", "u", "", true, Verdict::kInUse},
        {"a junction", mz, "", "", true, Verdict::kLink},
        {"a folder above that cannot be looked at", "C:\\Apps", "l", "", true, Verdict::kUnreadable},
    };
    for (const Row& row : rows) {
        PlantInstall(earlier);
        if (row.verdict == Verdict::kLink) g_fakeFiles.items[row.item].kind = PathKind::kLink;
        if (row.atLock) g_fakeFiles.items[row.item].fails = row.fails;
        Decision decision = RunStep("lock", mz);
        if (!row.atLock) {
            Extract(false);
            FakeItem& failing = g_fakeFiles.items[row.item];
            failing.fails = row.fails, failing.readsRights = row.readsRights;
            decision = RunStep("seal", mz);
            EXPECT_EQ(RunStep("restore", mz).verdict, Verdict::kGo) << row.what;
        }
        EXPECT_EQ(std::make_pair(decision.verdict, decision.item), std::make_pair(row.verdict, row.item)) << row.what;
        EXPECT_TRUE(row.verdict == Verdict::kLink || TreeNow() == earlier) << row.what;
    }

    // A delete that fails: the earlier file stays the installer's own for the next run; a restore names the file
    // it could not take away.
    PlantInstall(earlier);
    g_fakeFiles.items[kMz + "mz6.exe"].fails = "d";  // moved aside with it
    EXPECT_TRUE(Install(SIZE_MAX, false));
    EXPECT_EQ(TreeNow()[std::string("mz6.exe") + kAsideSuffix], "old");
    g_fakeFiles.items[kMz + "mz6.exe"].fails = "d";
    const Decision restore = RunStep("restore", mz);
    EXPECT_EQ(std::make_pair(restore.verdict, restore.item), std::make_pair(Verdict::kFailed, kMz + "mz6.exe"));
}
