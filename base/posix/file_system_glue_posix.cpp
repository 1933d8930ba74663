#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/file_system_glue.h"

const char* const kPathSeparators = "/";

namespace {

PathKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) return PathKind::kFile;
    if (S_ISLNK(mode)) return PathKind::kLink;
    if (S_ISDIR(mode)) return PathKind::kFolder;
    if (S_ISFIFO(mode)) return PathKind::kFifo;
    if (S_ISSOCK(mode)) return PathKind::kSocket;
    return PathKind::kDevice;  // a character or block device
}

void TakeFacts(const struct stat& seen, PathFacts* facts) {
    facts->kind = KindOf(seen.st_mode);
    facts->volume = static_cast<std::uint64_t>(seen.st_dev);
    facts->index = static_cast<std::uint64_t>(seen.st_ino);
    facts->names = static_cast<std::uint32_t>(seen.st_nlink);
}

// The owner, group and mode of the file at `path`; a new file's (as the umask leaves them) where there is none.
// A link or device put there since the path was checked lends nothing: the rename replaces it, never follows it.
bool TakeOwnerAndMode(int fd, const std::string& path) {
    struct stat old {};
    if (lstat(path.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) {
        const mode_t mask = umask(0);
        umask(mask);
        return fchmod(fd, 0666 & ~mask) == 0;
    }
    // The owner first: a change of owner clears the set-user-ID and set-group-ID bits that the mode then sets.
    return fchown(fd, old.st_uid, old.st_gid) == 0 && fchmod(fd, old.st_mode & 07777) == 0;
}

}  // namespace

PathFacts LookAtPath(const std::string& path) {
    PathFacts facts;
    struct stat seen {};
    if (lstat(path.c_str(), &seen) != 0) {
        if (errno != ENOENT) facts.error = errno;
        return facts;
    }
    TakeFacts(seen, &facts);
    if (facts.kind != PathKind::kLink) return facts;
    char text[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), text, sizeof text);
    if (length < 0 || static_cast<std::size_t>(length) == sizeof text) {
        facts.error = length < 0 ? errno : ENAMETOOLONG;
        return facts;
    }
    facts.linkText.assign(text, static_cast<std::size_t>(length));
    if (stat(path.c_str(), &seen) == 0) {
        facts.leadsTo = KindOf(seen.st_mode);
    } else if (errno != ENOENT) {
        facts.error = errno;  // a loop of links, a folder on the way that may not be looked into
    }
    return facts;
}

bool WriteAll(FileHandle handle, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written = write(static_cast<int>(handle), bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// As fopen's "a", but a last link is not followed.
OpenedFile OpenForAppending(const std::string& name) {
    OpenedFile opened;
    const int fd = open(name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    struct stat seen {};
    if (fd < 0) {
        opened.error = errno;
        if (errno == ELOOP && lstat(name.c_str(), &seen) == 0 && S_ISLNK(seen.st_mode)) {
            opened.kind = PathKind::kLink;
            opened.error = 0;
        }
        return opened;
    }
    opened.kind = fstat(fd, &seen) == 0 ? KindOf(seen.st_mode) : PathKind::kMissing;
    opened.file = fdopen(fd, "a");
    if (opened.file == nullptr) {
        opened.error = errno;
        close(fd);
    }
    return opened;
}

bool CreateNewFileIn(const std::string& folder, NewFile* file, std::int32_t* error) {
    std::string name = folder + "/.mz6-XXXXXX";
    const int fd = mkostemp(&name[0], O_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        return false;
    }
    file->handle = fd;
    file->path = name;
    return true;
}

bool PutNewFileInPlace(NewFile* file, const std::string& content, const std::string& path, PutStep* step,
                       std::int32_t* error) {
    const int fd = static_cast<int>(file->handle);
    *step = PutStep::kWrite;
    bool done = WriteAll(fd, content);
    if (done) {
        *step = PutStep::kOwner;
        done = TakeOwnerAndMode(fd, path);
    }
    if (done) {
        *step = PutStep::kWrite;
        done = fsync(fd) == 0;
    }
    *error = errno;
    file->handle = kNoFile;
    if (close(fd) != 0 && done) {
        done = false;
        *error = errno;
    }
    if (done) {
        *step = PutStep::kPlace;
        done = rename(file->path.c_str(), path.c_str()) == 0;
        *error = errno;
    }
    if (!done) {
        unlink(file->path.c_str());
        return false;
    }
    // The rename is on disk only with its folder. The file is in place by now, so a folder that cannot be
    // synced (a file system that refuses it) does not make the save a failure.
    const int folder = open(file->path.substr(0, file->path.rfind('/')).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}

void DiscardNewFile(NewFile* file) {
    if (file->handle < 0) return;
    close(static_cast<int>(file->handle));
    file->handle = kNoFile;
    unlink(file->path.c_str());
}
