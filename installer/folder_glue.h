#pragma once

#include <string>
#include <vector>

#include "installer/folder_lock.h"

// A folder's listing, deleting and renaming an item, without following a reparse point
// (installer/win32/folder_glue_win32.cpp; testkit/fakes/folder_glue_fake.cpp). What a path is comes from
// base/file_system_glue.h. Paths are UTF-8.

// Each item's name and kind as the listing gives them (moreNames is not read here); false when it cannot be listed.
bool ListFolder(const std::string& path, std::vector<FoundItem>* items);
bool DeleteItem(const std::string& path, bool folder);
// A new name in the same folder; false when something has that name already.
bool RenameItem(const std::string& path, const std::string& to);
// Whether the file could be replaced now: opened for writing and deleting, shared with nobody (not while a
// program runs from it or holds it open, nor while it is read-only).
bool CanReplace(const std::string& path);
void ClearReadOnly(const std::string& path);  // takes off a read-only attribute, if the file has one
// The path as the system completes it for every call (GetFullPathNameW: trailing dots and spaces dropped,
// "/" made "\\", "." and ".." resolved); "" when it has none.
std::string FullPathOf(const std::string& path);
bool IsFixedDrive(const std::string& root);  // "C:\\": a drive of this computer (no removable, network or RAM disk)
