#pragma once

#include <string>

#include "installer/folder_lock.h"

// The steps the installer and the uninstaller run through the helper, each on the install folder:
//   check      whether the folder may be used and an earlier install's files are free (the directory page);
//              changes nothing but a read-only attribute on those files
//   lock       the same, then the folder made locked, or locked and an earlier install's files moved aside
//   seal       after extraction: each item given its rights, the folder's and each item's read back, and
//              then the moved-aside files deleted
//   restore    after a failure: the files put in place deleted and the moved-aside ones put back
//   uninstall  whether the uninstaller may delete its files, and they are free
Decision RunStep(const std::string& step, const std::string& folder);
