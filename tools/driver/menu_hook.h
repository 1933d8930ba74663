#pragma once

// Shared by the driver and the hook library it places in the program under test.
//
// The driver posts kMenuDumpMessage to the program's main window with the driver's reply window
// in wParam; the hook, running inside the program, answers with WM_COPYDATA (dwData
// kMenuDumpReply) carrying the window's menu bar and its controls' captions, measured in their own
// fonts, as one JSON line.

constexpr const wchar_t* kMenuDumpMessage = L"MivorZentakE2E.MenuDump";
constexpr unsigned long kMenuDumpReply = 0x4D454E55;  // "MENU"
constexpr const char* kMenuHookProcName = "MenuHookProc";
