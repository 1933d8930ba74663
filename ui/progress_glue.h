#pragma once

#include "app/handles.h"

// The progress window and the main window's timers (ui/win32/progress_glue_win32.cpp).

// A top-level progress bar window (caption shows the title, no system menu).
WindowHandle ProgressCreate(WindowHandle owner, const char* title, int x, int y, int width, int height);
void ProgressSetRange(WindowHandle progress, int high);  // low is 0
void ProgressSetStep(WindowHandle progress, int step);
void ProgressSetPosition(WindowHandle progress, int position);
void ProgressStep(WindowHandle progress);
void WindowDestroy(WindowHandle window);
void TimerStart(WindowHandle window, int id, int periodMs);
void TimerStop(WindowHandle window, int id);
