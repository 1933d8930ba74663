#include <algorithm>

#include "base/file_system_glue.h"
#include "testkit/fakes/fakes.h"

// Only what the window program and the host-tested decisions ask; mz6's append and replace are driven by
// tests/cli against the real file system.

FakeFiles g_fakeFiles;

const char* const kPathSeparators = "\\/";

namespace {

constexpr std::int32_t kFakeError = 5;

bool Fails(const FakeItem* item, char call) { return item != nullptr && item->fails.find(call) != std::string::npos; }

FakeItem& ItemOf(FileHandle handle) { return g_fakeFiles.items[g_fakeFiles.open.at(handle)]; }

}  // namespace

PathFacts LookAtPath(const std::string& path) {
    PathFacts facts;
    const FakeItem* item = FakeItemAt(path);
    if (Fails(item, 'l')) facts.error = kFakeError;
    if (item == nullptr || facts.error != 0) return facts;
    facts.kind = item->kind;
    facts.leadsTo = item->leadsTo;
    facts.linkText = item->linkText;
    facts.names = item->names;
    return facts;
}

PathFacts OpenPath(const std::string& path, bool, FileHandle* handle) {
    if (Fails(FakeItemAt(path), 'o')) return {PathKind::kMissing, PathKind::kMissing, "", kFakeError};
    const PathFacts facts = LookAtPath(path);
    if (facts.kind == PathKind::kMissing) return facts;
    static FileHandle next = 100;
    *handle = next++;
    g_fakeFiles.open[*handle] = path;
    return facts;
}

std::string ReadUpTo(FileHandle handle, std::size_t limit) {
    const std::string bytes = ItemOf(handle).bytes.substr(0, limit);
    g_fakeFiles.bytesRead += bytes.size();
    return bytes;
}

bool WriteAll(FileHandle handle, const std::string& bytes) {
    FakeItem& item = ItemOf(handle);
    if (Fails(&item, 'w')) return false;
    item.bytes.replace(0, std::min(bytes.size(), item.bytes.size()), bytes);
    return true;
}

bool CloseFile(FileHandle handle) {
    const bool kept = !Fails(&ItemOf(handle), 'c');
    g_fakeFiles.open.erase(handle);
    return kept;
}

bool CreateExclusive(const std::string& path, const std::string& bytes) {
    const FakeItem* there = FakeItemAt(path);  // one kept as missing only holds the calls that fail on its path
    if ((there != nullptr && there->kind != PathKind::kMissing) || !g_fakeFiles.folderTakesNewFiles) return false;
    g_fakeFiles.items[path].bytes = bytes;
    g_fakeFiles.calls.push_back("create " + path);
    return true;
}
