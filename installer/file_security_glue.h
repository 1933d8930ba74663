#pragma once

#include <string>

// Owners and access entries of files and folders as security descriptor strings
// (installer/win32/file_security_glue_win32.cpp; testkit/fakes/file_security_glue_fake.cpp). Paths are UTF-8.

bool ReadSecurityText(const std::string& path, std::string* text);  // owner and access list
// A new folder made with this owner and access list in the same call; false when it exists or cannot be made.
bool MakeFolderWithSecurity(const std::string& path, const char* security);
// Replaces the owner and the access list, the list protected from what the folders above pass down.
bool WriteSecurity(const std::string& path, const char* security);
