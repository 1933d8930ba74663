// The window's side of the reader operations' view: the tab shown, the version field and the settings'
// radio buttons. (The lamps are ui/lamps.cpp's.)
#include "protocol/reader_view.h"

#include "app/main_window.h"
#include "protocol/control_ids.h"
#include "ui/window_ops_glue.h"

int ShownReaderModel() { return g_shell.readerModel; }
void ShowVersion(const char* version) { ControlSetText(g_shell.window, kIdVersionField, version); }
void CheckRadio(int first, int last, int checked) { RadioCheckInRange(g_shell.window, first, last, checked); }
bool IsRadioChecked(int id) { return RadioIsChecked(g_shell.window, id); }
void EnableControl(int id, bool enable) { ControlEnable(g_shell.window, id, enable); }
