#pragma once

// The window procedure's handlers of the settings pages: a radio button clicked and a tab selected.

// A radio button's lamp takes its colour; the output format enables or disables HEX and DEC.
void OnRadio(int id);
// The page, its defaults and its lamps follow the selected tab, which is saved, and a new search starts.
void OnTabChanged();
