#include "installer/folder_glue.h"
#include "testkit/fakes/fakes.h"

namespace {

bool Fails(const FakeItem* item, char call) { return item == nullptr || item->fails.find(call) != std::string::npos; }

// The paths right inside `folder`.
std::vector<std::string> Inside(const std::string& folder) {
    std::vector<std::string> paths;
    for (const auto& [path, item] : g_fakeFiles.items) {
        if (path.size() > folder.size() + 1 && path.compare(0, folder.size() + 1, folder + "\\") == 0 &&
            path.find('\\', folder.size() + 1) == std::string::npos)
            paths.push_back(path);
    }
    return paths;
}

}  // namespace

bool ListFolder(const std::string& path, std::vector<FoundItem>* items) {
    items->clear();
    const FakeItem* folder = FakeItemAt(path);
    if (Fails(folder, 'l') || folder->kind != PathKind::kFolder) return false;
    for (const std::string& inside : Inside(path)) {
        const PathKind kind = g_fakeFiles.items[inside].kind;
        items->push_back({inside.substr(path.size() + 1), kind == PathKind::kLink     ? ItemKind::kLink
                                                          : kind == PathKind::kFolder ? ItemKind::kFolder
                                                                                      : ItemKind::kFile});
    }
    return true;
}

// A folder goes only when empty, as RemoveDirectoryW.
bool DeleteItem(const std::string& path, bool folder) {
    const FakeItem* item = FakeItemAt(path);
    if (Fails(item, 'd') || !FakeChangeAllowed() || (item->kind == PathKind::kFolder) != folder ||
        (folder && !Inside(path).empty()))
        return false;
    g_fakeFiles.items.erase(path);
    g_fakeFiles.calls.push_back("delete " + path);
    return true;
}

bool RenameItem(const std::string& path, const std::string& to) {
    if (Fails(FakeItemAt(path), 'r') || FakeItemAt(to) != nullptr || !FakeChangeAllowed()) return false;
    for (const std::string& inside : Inside(path)) {
        g_fakeFiles.items[to + inside.substr(path.size())] = g_fakeFiles.items[inside];
        g_fakeFiles.items.erase(inside);
    }
    g_fakeFiles.items[to] = g_fakeFiles.items[path];
    g_fakeFiles.items.erase(path);
    g_fakeFiles.calls.push_back("rename " + path + " " + to);
    return true;
}

bool CanReplace(const std::string& path) { return !Fails(FakeItemAt(path), 'u'); }

void ClearReadOnly(const std::string&) {}

std::string FullPathOf(const std::string& path) { return path; }

bool IsFixedDrive(const std::string&) { return true; }
