// folder-lock.exe STEP FOLDER: the installer's and the uninstaller's checks and rights calls on the install
// folder (installer/folder_lock_steps.h). The exit code is the verdict; what it is about is written to
// stdout as UTF-16 after a byte order mark: nsExec takes output for UTF-16 only when IsTextUnicode says so,
// which the mark makes certain for any path; the installer takes the mark off (setup.nsi, FolderLock).
#include <windows.h>

#include "base/dll_search_glue.h"
#include "base/utf16_glue.h"
#include "installer/folder_lock_steps.h"

int wmain(int argc, wchar_t** argv) {
    LimitDllSearch();
    // A folder whose name holds a lone surrogate has no UTF-8 form: it goes on as no path, which is not a local one.
    std::string step, folder;
    const Decision decision = argc == 3 && NameUtf8(argv[1], -1, &step)
                                  ? RunStep(step, NameUtf8(argv[2], -1, &folder) ? folder : std::string())
                                  : Decision{Verdict::kUsage, "usage: folder-lock check|lock|seal|uninstall FOLDER"};
    const std::wstring text = L"\xFEFF" + Utf16Of(decision.item);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written,
              nullptr);
    return static_cast<int>(decision.verdict);
}
