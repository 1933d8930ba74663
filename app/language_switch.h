#pragma once

// Points the slots at the current language and re-texts every existing window
// that shows a language text.
void ApplyLanguage();

// The Tools > Language command: check the item, set the language, save the
// settings file, re-text, rebuild the menu bar. Runs in full even when the
// language is already in force.
void SwitchLanguage(int language);
