#pragma once

// appconfig.ini in the working directory: the language and the reader model,
// two fixed lines matched byte for byte.
constexpr const char* kSettingsFileName = "appconfig.ini";

// Reads the file into g_lang.current and g_shell.readerModel; creates it with the
// defaults when it is missing. Never reports anything.
void LoadSettings();

// Rewrites the two lines in place; when the file cannot be opened for update,
// warns "Failed to save settings!" and leaves the file alone.
void SaveSettings();
