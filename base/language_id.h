#pragma once

// The interface language; also its line in the settings file.
enum LanguageId : int { kLanguageRussian = 0, kLanguageEnglish = 1 };
