// Arbitrary bytes as an mz6 profile: a profile that parses, written out and parsed again, gives the same
// settings.

#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ProfileResult result = ParseProfile(std::string(reinterpret_cast<const char*>(data), size));
    if (result.error != ProfileError::kNone) return 0;
    const ProfileResult again = ParseProfile(FormatProfile(result.settings));
    if (again.error != ProfileError::kNone || again.settings.model != result.settings.model) __builtin_trap();
    for (int id = 0; id < kSettingCount; ++id) {
        if (again.settings.value[id] != result.settings.value[id]) __builtin_trap();
    }
    return 0;
}
