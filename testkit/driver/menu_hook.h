#pragma once

// Shared by the driver and the hook library it places in the program under test.
//
// The driver posts kMenuDumpMessage to the program's main window with the driver's reply window
// in wParam and the question's number in lParam; the hook, running inside the program, answers with
// WM_COPYDATA (dwData: that number, so a late answer to an earlier question is told apart) carrying the
// window's menu bar and its controls' captions, measured in their own fonts, as one JSON line.

constexpr const wchar_t* kMenuDumpMessage = L"MivorZentakE2E.MenuDump";
constexpr const char* kMenuHookProcName = "MenuHookProc";
