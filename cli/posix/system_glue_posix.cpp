#include <fcntl.h>
#include <glob.h>
#include <grp.h>
#include <limits.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "cli/system_glue.h"
#include "serial/serial_port_interrupt.h"
#include "serial/tty_ports.h"
#include "serial/usb_match.h"

// A name is bytes here: every argument is one.
std::vector<std::string> ProgramArguments(int argc, char** argv, int* unreadable) {
    *unreadable = 0;
    return {argv + 1, argv + argc};
}

// MZ6_SYSTEM_ROOT stands in for "/" where the ports are looked up (sys/, dev/, proc/): a fabricated tree
// shows a port as a USB reader's, or as a console, where no such device is to hand.
std::string SystemRoot() {
    const char* root = std::getenv("MZ6_SYSTEM_ROOT");
    return root != nullptr ? root : "";
}

std::vector<SystemPort> ListSystemPorts() {
    std::vector<SystemPort> ports;
    for (const TtyDevice& tty : ListTtyDevices(SystemRoot())) {
        const bool reader = tty.usb && IsReaderUsbIdentity(tty.vendor, tty.product, tty.revision);
        ports.push_back({tty.path, reader, tty.serial, tty.skip});
    }
    return ports;
}

const bool kPortNamesIgnoreCase = false;

bool PortNodePresent(const std::string& name) {
    struct stat node {};
    return stat(name.c_str(), &node) == 0 && S_ISCHR(node.st_mode);
}

std::vector<std::string> PathsMatching(const std::string& pattern) {
    std::vector<std::string> paths;
    glob_t found{};
    if (glob(pattern.c_str(), 0, nullptr, &found) == 0) {
        for (std::size_t k = 0; k < found.gl_pathc; ++k) {
            // A link that leads nowhere (its device just unplugged, or not there yet) is no port, nor is a
            // file, fifo or folder that happens to match.
            if (PortNodePresent(found.gl_pathv[k])) paths.push_back(found.gl_pathv[k]);
        }
    }
    globfree(&found);
    return paths;
}

void Pause(int ms) {
    // A signal ends the sleep early (EINTR), and the caller then sees the stop.
    const timespec wait{ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&wait, nullptr);
}

// The first of LC_ALL, LC_MESSAGES and LANG that is set decides, as for any program's messages.
bool UserPrefersRussian() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return std::strncmp(value, "ru", 2) == 0;
    }
    return false;
}

void PrepareConsole() {
    InstallSerialInterruptHandler();
    signal(SIGPIPE, SIG_IGN);
}

void FinishWorkWhenInterrupted() { DeferSerialInterrupts(); }

int InterruptSignal() { return SerialInterruptSignal(); }

void MarkWriteInHand(bool, bool) {}  // SIGTERM and SIGHUP wait for the exchange in hand already

bool ErrorOutputIsTerminal() { return isatty(STDERR_FILENO) != 0; }

std::string PortIdentity(const std::string& name) {
    char resolved[PATH_MAX];
    return realpath(name.c_str(), resolved) != nullptr ? std::string(resolved) : name;
}

std::string SystemErrorText(std::int32_t error) { return std::strerror(error); }

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

bool WriteAll(int fd, const std::string& content) {
    for (std::size_t done = 0; done < content.size();) {
        const ssize_t written = write(fd, content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
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

PathFacts LookAtPath(const std::string& path) {
    PathFacts facts;
    struct stat seen {};
    if (lstat(path.c_str(), &seen) != 0) {
        if (errno != ENOENT) facts.error = errno;
        return facts;
    }
    facts.kind = KindOf(seen.st_mode);
    facts.volume = static_cast<std::uint64_t>(seen.st_dev);
    facts.index = static_cast<std::uint64_t>(seen.st_ino);
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
    file->handle = -1;
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
    file->handle = -1;
    unlink(file->path.c_str());
}

Outcome OpenFailureOf(std::int32_t error) {
    switch (error) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
            return Outcome::kNotFound;
        case EBUSY:
        case EWOULDBLOCK:
            return Outcome::kBusy;  // EWOULDBLOCK: another holds the flock
        case EACCES:
        case EPERM:
            return Outcome::kPermissionDenied;
        case ENOTTY:
        case EISDIR:
            return Outcome::kNotASerialPort;
        default:
            return Outcome::kOpenFailed;
    }
}

PortAccess LookAtPortAccess(const std::string& port) {
    PortAccess access;
    struct stat node {};
    if (stat(port.c_str(), &node) != 0) return access;
    access.known = true;
    access.node = PortIdentity(port);
    access.mode = node.st_mode & 07777;
    access.owner = node.st_uid;
    access.group = node.st_gid;
    if (const passwd* owner = getpwuid(node.st_uid)) access.ownerName = owner->pw_name;
    if (const group* named = getgrgid(node.st_gid)) access.groupName = named->gr_name;
    access.user = geteuid();
    const int now = getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(now > 0 ? now : 0));
    if (now > 0 && getgroups(now, groups.data()) == now) access.groupsNow.assign(groups.begin(), groups.end());
    access.groupsNow.push_back(getegid());
    const passwd* user = getpwuid(access.user);
    int count = 0;
    if (user != nullptr && getgrouplist(user->pw_name, user->pw_gid, nullptr, &count) < 0 && count > 0) {
        groups.resize(static_cast<std::size_t>(count));
        if (getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) >= 0) {
            access.groupsListed.assign(groups.begin(), groups.begin() + count);
        }
    }
    return access;
}
