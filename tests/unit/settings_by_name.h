#pragma once

#include <sstream>
#include <string>

#include "protocol/settings_codec.h"

// Settings of a model given as "key=value ..." (the names scripts use): an unknown key is left out, an unknown
// value is none.
inline ReaderSettings SettingsByName(int model, const std::string& assignments) {
    ReaderSettings settings;
    settings.model = model;
    std::istringstream words(assignments);
    for (std::string word; words >> word;) {
        const std::size_t equals = word.find('=');
        const SettingInfo* setting = FindSetting(model, word.substr(0, equals).c_str());
        if (setting != nullptr) settings.value[setting->id] = FindValue(*setting, word.substr(equals + 1).c_str());
    }
    return settings;
}
