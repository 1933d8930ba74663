#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "app/settings_file_glue.h"

namespace {

int DescriptorOf(SettingsFileHandle handle) { return static_cast<int>(reinterpret_cast<std::intptr_t>(handle)); }

SettingsFileHandle HandleOf(int descriptor) {
    return reinterpret_cast<SettingsFileHandle>(static_cast<std::intptr_t>(descriptor));
}

}  // namespace

// O_NONBLOCK: a pipe by that name would hold the open until someone writes to it.
FoundFile OpenSettingsFile(const char* name, bool forUpdate, SettingsFileHandle* handle) {
    const int descriptor = open(name, (forUpdate ? O_RDWR : O_RDONLY) | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT) return FoundFile::kMissing;
        if (errno == ELOOP) return FoundFile::kLink;
        return errno == EISDIR ? FoundFile::kNotPlain : FoundFile::kFailed;
    }
    struct stat status {};
    const bool known = fstat(descriptor, &status) == 0;
    const FoundFile found = !known                     ? FoundFile::kFailed
                            : !S_ISREG(status.st_mode) ? FoundFile::kNotPlain
                            : status.st_nlink != 1     ? FoundFile::kLink
                                                       : FoundFile::kPlain;
    if (found != FoundFile::kPlain || fcntl(descriptor, F_SETFL, 0) != 0) {
        close(descriptor);
        return found == FoundFile::kPlain ? FoundFile::kFailed : found;
    }
    *handle = HandleOf(descriptor);
    return found;
}

std::string ReadSettingsFileStart(SettingsFileHandle handle, std::size_t limit) {
    std::string bytes(limit, '\0');
    std::size_t got = 0;
    while (got < limit) {
        const ssize_t count = read(DescriptorOf(handle), &bytes[got], limit - got);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        got += static_cast<std::size_t>(count);
    }
    bytes.resize(got);
    return bytes;
}

// Through interruptions and short writes.
bool WriteSettingsFileStart(SettingsFileHandle handle, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written = write(DescriptorOf(handle), bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

bool CloseSettingsFile(SettingsFileHandle handle) { return close(DescriptorOf(handle)) == 0; }

bool CreateSettingsFile(const char* name, const std::string& bytes) {
    const int descriptor = open(name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) return false;
    const bool written = WriteSettingsFileStart(HandleOf(descriptor), bytes);
    return close(descriptor) == 0 && written;
}
