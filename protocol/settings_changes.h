#pragma once

#include <vector>

#include "protocol/settings_codec.h"

// What a write would change on a reader: the decision that lets a reader that
// already holds every setting asked keep its memory unwritten.

struct SettingChange {
    SettingId id;
    int from;  // the value the reader holds; kNoValue when its code was not known
    int to;
};

// The settings a reader holding `held` is written with so that it holds every
// value `asked` gives (kNoValue: keep the reader's): the asked values over the
// held ones, and a setting that comes into use without a value at its fallback,
// as the write command carries it.
ReaderSettings SettingsToWrite(const ReaderSettings& held, const ReaderSettings& asked);

// The settings in use of `wanted` whose value `held` does not hold, in the
// table's order; none when the reader holds them all.
std::vector<SettingChange> SettingChanges(const ReaderSettings& held, const ReaderSettings& wanted);
