#include "installer/file_security_glue.h"
#include "testkit/fakes/fakes.h"

bool ReadSecurityText(const std::string& path, std::string* text) {
    const FakeItem* item = FakeItemAt(path);
    if (item == nullptr || item->security.empty()) return false;
    *text = item->readsRights.empty() ? item->security : item->readsRights;
    return true;
}

bool MakeFolderWithSecurity(const std::string& path, const char* security) {
    if (FakeItemAt(path) != nullptr || !FakeChangeAllowed()) return false;
    g_fakeFiles.items[path] = {PathKind::kFolder, "", "", PathKind::kMissing, 1, security};
    g_fakeFiles.calls.push_back("make " + path);
    return true;
}

bool WriteSecurity(const std::string& path, const char* security) {
    FakeItem* item = FakeItemAt(path);
    if (item == nullptr || item->fails.find('s') != std::string::npos || !FakeChangeAllowed()) return false;
    item->security = security;
    g_fakeFiles.calls.push_back("rights " + path);
    return true;
}
