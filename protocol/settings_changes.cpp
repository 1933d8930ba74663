#include "protocol/settings_changes.h"

ReaderSettings SettingsToWrite(const ReaderSettings& held, const ReaderSettings& asked) {
    ReaderSettings wanted = held;
    wanted.model = asked.model;
    for (int id = 0; id < kSettingCount; ++id) {
        if (asked.value[id] != kNoValue) wanted.value[id] = asked.value[id];
    }
    return SettingsAsWritten(wanted);
}

std::vector<SettingChange> SettingChanges(const ReaderSettings& held, const ReaderSettings& wanted) {
    std::vector<SettingChange> changes;
    const ModelInfo* info = ModelInfoOf(wanted.model);
    for (int k = 0; info != nullptr && k < info->count; ++k) {
        const SettingId id = info->settings[k].id;
        if (!SettingIsUsed(wanted, id) || wanted.value[id] == held.value[id]) continue;
        changes.push_back({id, held.value[id], wanted.value[id]});
    }
    return changes;
}
