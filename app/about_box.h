#pragma once

// Help menu "About...": the modal About dialog in the current language.

// Opens the About dialog of the current language, owned by the main window,
// and waits until it is closed. Does nothing for an unknown language.
void ShowAboutBox();
