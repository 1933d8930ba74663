#include "cli/profile.h"

#include <cstring>

namespace {

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool SplitAssignment(const std::string& text, std::string* key, std::string* value) {
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) return false;
    *key = Trim(text.substr(0, equals));
    *value = Trim(text.substr(equals + 1));
    return !key->empty() && !value->empty();
}

int ModelOfKey(const std::string& key) {
    for (int model : {int{kReaderSerial}, int{kReaderUsb}}) {
        if (FindSetting(model, key.c_str()) != nullptr) return model;
    }
    return -1;
}

// Puts one setting into `result`, of `result->settings.model` (-1 while it is open).
bool Assign(const std::string& key, const std::string& value, ProfileResult* result) {
    result->subject = key;
    const int keyModel = ModelOfKey(key);
    if (keyModel < 0) {
        result->error = ProfileError::kUnknownKey;
        return false;
    }
    if (result->settings.model >= 0 && keyModel != result->settings.model) {
        result->error = ProfileError::kOtherModel;
        return false;
    }
    result->settings.model = keyModel;
    const SettingInfo* setting = FindSetting(keyModel, key.c_str());
    const int index = FindValue(*setting, value.c_str());
    if (index == kNoValue) {
        result->error = ProfileError::kWrongValue;
        result->value = value;
        result->allowed = ValueList(*setting);
        return false;
    }
    if (result->settings.value[setting->id] != kNoValue) {
        result->error = ProfileError::kDuplicate;
        return false;
    }
    result->settings.value[setting->id] = index;
    return true;
}

// The output type is given, but the format given leaves it unused.
bool CheckUnused(ProfileResult* result) {
    const ModelInfo* info = ModelInfoOf(result->settings.model);
    for (int k = 0; info != nullptr && k < info->count; ++k) {
        const SettingId id = info->settings[k].id;
        if (result->settings.value[id] != kNoValue && !SettingIsUsed(result->settings, id)) {
            result->error = ProfileError::kUnused;
            result->subject = info->settings[k].key;
            return false;
        }
    }
    return true;
}

}  // namespace

int ModelNamed(const std::string& name) {
    for (int model : {int{kReaderSerial}, int{kReaderUsb}}) {
        if (name == ModelInfoOf(model)->name) return model;
    }
    return -1;
}

bool ReadProfileText(std::istream& in, std::string* text) {
    text->assign(kProfileMaxBytes + 1, '\0');
    in.read(&(*text)[0], static_cast<std::streamsize>(text->size()));
    text->resize(static_cast<std::size_t>(in.gcount()));
    return text->size() <= kProfileMaxBytes;
}

ProfileResult ParseProfile(const std::string& text) {
    ProfileResult result;
    result.settings.model = -1;
    int lineOf[kSettingCount] = {};  // where each setting was given, for an error found at the end
    std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (int line = 1; start <= text.size(); ++line) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        // The line's own length: a CRLF file's carriage return is not part of it.
        if (end - start - (end > start && text[end - 1] == '\r' ? 1 : 0) > kProfileMaxLine) {
            result.error = ProfileError::kLineTooLong;
            result.line = line;
            return result;
        }
        std::string content = text.substr(start, end - start);
        start = end + 1;
        const std::size_t comment = content.find('#');
        if (comment != std::string::npos) content.erase(comment);
        if (Trim(content).empty()) continue;
        result.line = line;
        std::string key;
        std::string value;
        // A NUL would end the key or value early for the table's lookups.
        if (content.find('\0') != std::string::npos || !SplitAssignment(content, &key, &value)) {
            result.error = ProfileError::kSyntax;
            result.subject = Trim(content);
            return result;
        }
        if (key == "model") {
            if (result.settings.model >= 0) {
                result.error = ProfileError::kDuplicate;
                result.subject = key;
                return result;
            }
            result.settings.model = ModelNamed(value);
            if (result.settings.model < 0) {
                result.error = ProfileError::kUnknownModel;
                result.subject = key;
                result.value = value;
                result.allowed = "krx|usb";
                return result;
            }
            continue;
        }
        if (result.settings.model < 0) {
            result.error = ProfileError::kNoModel;
            result.subject = key;
            return result;
        }
        if (!Assign(key, value, &result)) return result;
        lineOf[FindSetting(result.settings.model, key.c_str())->id] = line;
    }
    if (result.settings.model < 0) {
        result.error = ProfileError::kNoModel;
        return result;
    }
    result.line = 0;
    if (!CheckUnused(&result)) result.line = lineOf[FindSetting(result.settings.model, result.subject.c_str())->id];
    return result;
}

ProfileResult ParseAssignments(const std::vector<std::string>& assignments, int model) {
    ProfileResult result;
    result.settings.model = model;
    for (const std::string& assignment : assignments) {
        std::string key;
        std::string value;
        if (!SplitAssignment(assignment, &key, &value)) {
            result.error = ProfileError::kSyntax;
            result.subject = assignment;
            return result;
        }
        if (!Assign(key, value, &result)) {
            if (result.error == ProfileError::kOtherModel && model < 0) result.error = ProfileError::kMixedModels;
            return result;
        }
    }
    CheckUnused(&result);
    return result;
}

std::string ValueList(const SettingInfo& setting) {
    std::string names;
    for (int v = 0; v < setting.valueCount; ++v) names += (v > 0 ? "|" : "") + std::string(setting.values[v].name);
    return names;
}

const char* KeyOfSetting(int model, SettingId id) {
    const ModelInfo* info = ModelInfoOf(model);
    for (int k = 0; info != nullptr && k < info->count; ++k) {
        if (info->settings[k].id == id) return info->settings[k].key;
    }
    return "?";
}

std::vector<std::pair<std::string, std::string>> SettingsInUse(const ReaderSettings& settings) {
    std::vector<std::pair<std::string, std::string>> fields;
    const ModelInfo* info = ModelInfoOf(settings.model);
    for (int k = 0; info != nullptr && k < info->count; ++k) {
        const SettingInfo& setting = info->settings[k];
        const int value = settings.value[setting.id];
        if (value == kNoValue || !SettingIsUsed(settings, setting.id)) continue;
        fields.emplace_back(setting.key, setting.values[value].name);
    }
    return fields;
}

std::string FormatProfile(const ReaderSettings& settings) {
    std::string text = std::string("model = ") + ModelInfoOf(settings.model)->name + "\n";
    for (const auto& [key, value] : SettingsInUse(settings)) text += key + " = " + value + "\n";
    return text;
}
