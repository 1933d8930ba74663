#pragma once

// Help menu "About...": the modal About dialog in the current language.

// Dialog template resources, one per language (res/about.rc).
constexpr int kAboutTemplateRussian = 1;
constexpr int kAboutTemplateEnglish = 2;

// Opens the About dialog of the current language, owned by the main window,
// and waits until it is closed. Does nothing for an unknown language.
void ShowAboutBox();

// Control ids that close the dialog: OK, and Cancel (sent for Esc and the close box).
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// What the dialog does with a command from control `id`: 0 keeps it open,
// otherwise it ends with that result. (Its initialisation is left to the
// default: focus goes to OK, the only tab stop.)
int AboutDialogEndResult(int id);
