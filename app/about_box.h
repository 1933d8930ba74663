#pragma once

#include "app/handles.h"
#include "ui/window_messages.h"

// Help menu "About...": the modal About dialog in the current language.

// Dialog template resources, one per language (res/about.rc).
constexpr int kAboutTemplateRussian = 1;
constexpr int kAboutTemplateEnglish = 2;

// Opens the About dialog of the current language, owned by the main window,
// and waits until it is closed. Does nothing for an unknown language.
void ShowAboutBox();

// The dialog's only message besides kWmCommand (the glue checks the number).
constexpr unsigned kWmInitDialog = 0x0110;

// Control ids that close the dialog: OK, and Cancel (sent for Esc and the close box).
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

struct AboutDialogAction {
    bool handled;   // the dialog procedure's answer; false leaves the message to the default handling
    int endResult;  // non-zero: end the dialog with this result
};

// What the About dialog does with one message.
AboutDialogAction DecideAboutDialogMessage(unsigned message, MessageWParam wParam);

// Platform side (app/about_box_win32.cpp): runs the dialog template of this
// program's module modally; the result is not needed.
void RunAboutDialog(WindowHandle owner, int templateId);
