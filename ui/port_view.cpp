// The window's side of the serial subsystem's view: the port list, the main window's timers and enabling,
// and the tab shown. (Messages are the shell's, the waits ui/progress.cpp's.)
#include "serial/port_view.h"

#include "app/main_window.h"
#include "app/startup_glue.h"
#include "protocol/control_ids.h"
#include "ui/progress_glue.h"
#include "ui/window_ops_glue.h"

void DisableMainWindow() { WindowEnable(g_shell.window, false); }

bool SerialReaderShown() { return g_shell.readerModel == kReaderSerial; }
bool UsbReaderShown() { return g_shell.readerModel == kReaderUsb; }

void StartTimer(int id, int periodMs) { TimerStart(g_shell.window, id, periodMs); }
void StopTimer(int id) { TimerStop(g_shell.window, id); }
void Pause(int milliseconds) { SleepMilliseconds(milliseconds); }

void PortListEnable(bool enable) { ControlEnable(g_shell.window, kIdPortList, enable); }
int PortListCount() { return ComboCount(g_shell.window, kIdPortList); }
std::string PortListText(int index) { return ComboText(g_shell.window, kIdPortList, index); }
void PortListReset() { ComboReset(g_shell.window, kIdPortList); }
void PortListAdd(const char* text) { ComboAdd(g_shell.window, kIdPortList, text); }
void PortListAddWide(const char16_t* text) { ComboAddWide(g_shell.window, kIdPortList, text); }
void PortListDelete(int index) { ComboDelete(g_shell.window, kIdPortList, index); }
void PortListSelect(int index) { ComboSelect(g_shell.window, kIdPortList, index); }
int PortListSelection() { return ComboSelection(g_shell.window, kIdPortList); }
