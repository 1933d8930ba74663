#include <glob.h>
#include <grp.h>
#include <limits.h>
#include <pwd.h>
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
