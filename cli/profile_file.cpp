#include "cli/profile_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "cli/command_output.h"
#include "cli/profile.h"

namespace {

// The profile's text from `path`, or from standard input for "-"; false, with why told, when it cannot be had
// whole.
bool ReadProfile(const RunContext& options, const std::string& path, std::string* text) {
    errno = 0;
    std::ifstream file;
    if (path != "-") file.open(std::filesystem::u8path(path), std::ios::binary);  // by its UTF-16 name on Windows
    std::istream& in = path == "-" ? std::cin : file;
    if (in) {
        const bool whole = ReadProfileText(in, text);
        // Standard input reads as empty when it is closed (EBADF) or a folder (EISDIR).
        if (path == "-" && text->empty() && (errno == EBADF || errno == EISDIR)) {
            Fail(options, RunFailure::kBadProfile,
                 errno == EBADF ? options.texts->inputClosed : options.texts->inputFolder, kExitUsage);
            return false;
        }
        if (!in.bad() && whole) return true;
        if (!in.bad()) {
            ProfileResult tooLarge;
            tooLarge.error = ProfileError::kTooLarge;
            Fail(options, RunFailure::kBadProfile, DescribeProfileError(*options.texts, tooLarge, path), kExitUsage);
            return false;
        }
    }
    Fail(options, RunFailure::kBadProfile, path + ": " + std::strerror(errno != 0 ? errno : EIO), kExitUsage);
    return false;
}

}  // namespace

bool LoadProfile(const RunContext& options, const std::string& file, ReaderSettings* settings) {
    std::string text;
    if (!ReadProfile(options, file, &text)) return false;
    const ProfileResult profile = ParseProfile(text);
    if (profile.error != ProfileError::kNone) {
        Fail(options, RunFailure::kBadProfile, DescribeProfileError(*options.texts, profile, file), kExitUsage);
        return false;
    }
    *settings = profile.settings;
    return true;
}
