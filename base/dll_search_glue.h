#pragma once

// Limits where DLLs loaded from now on are searched for: System32 only, never the working folder,
// where a planted DLL could otherwise be picked up (base/win32/dll_search_glue_win32.cpp).
// No fake: it holds no decision; the e2e suite runs the programs under Wine.
void LimitDllSearch();
