#pragma once

#include "app/handles.h"

// The About dialog of the platform (app/about_box_glue_win32.cpp): runs the
// dialog template of this program's module modally; the result is not needed.
// Its dialog procedure hands each message on to the About box's named calls.
void RunAboutDialog(WindowHandle owner, int templateId);
