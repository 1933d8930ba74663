#pragma once

#include "app/handles.h"

// The About dialog of the platform (app/win32/about_box_glue_win32.cpp): runs the
// dialog template of this program's module modally; the result is not needed.
// Its dialog procedure hands each command on to AboutDialogEndResult.
void RunAboutDialog(WindowHandle owner, int templateId);

// Dialog template resources, one per language (res/about.rc).
constexpr int kAboutTemplateRussian = 1;
constexpr int kAboutTemplateEnglish = 2;

// Control ids that close the dialog: OK, and Cancel (sent for Esc and the close box).
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// What the dialog does with a command from control `id` (app/about_box.cpp): 0 keeps it open,
// otherwise it ends with that result. (Its initialisation is left to the
// default: focus goes to OK, the only tab stop.)
int AboutDialogEndResult(int id);
