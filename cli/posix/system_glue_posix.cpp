#include <fcntl.h>
#include <glob.h>
#include <limits.h>
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

std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

std::FILE* OpenNamedFile(const std::string& name, const char* mode) { return std::fopen(name.c_str(), mode); }

// MZ6_SYSTEM_ROOT stands in for "/" where the ports are looked up (sys/, dev/): a fabricated tree
// shows a port as a USB reader's where no USB device is to hand.
std::vector<SystemPort> ListSystemPorts() {
    const char* root = std::getenv("MZ6_SYSTEM_ROOT");
    const std::string base = root != nullptr ? root : "";
    std::vector<SystemPort> ports;
    for (const TtyDevice& tty : ListTtyDevices(base + "/sys", base + "/dev")) {
        ports.push_back({tty.path, tty.usb && IsReaderUsbIdentity(tty.vendor, tty.product, tty.revision), tty.serial});
    }
    return ports;
}

const bool kPortNamesIgnoreCase = false;

std::vector<std::string> PathsMatching(const std::string& pattern) {
    std::vector<std::string> paths;
    glob_t found{};
    if (glob(pattern.c_str(), 0, nullptr, &found) == 0) {
        for (std::size_t k = 0; k < found.gl_pathc; ++k) {
            // A link that leads nowhere (its device just unplugged, or not there yet) is no port.
            struct stat target {};
            if (stat(found.gl_pathv[k], &target) == 0) paths.push_back(found.gl_pathv[k]);
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

bool MoveFileOver(const std::string& from, const std::string& to, std::string* reason) {
    const int fd = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    // A profile kept private stays so: the new file takes the old one's permissions.
    struct stat old {};
    if (fd >= 0 && stat(to.c_str(), &old) == 0) fchmod(fd, old.st_mode & 07777);
    const bool synced = fd >= 0 && fsync(fd) == 0;
    const int syncError = errno;
    if (fd >= 0) close(fd);
    if (synced && rename(from.c_str(), to.c_str()) == 0) return true;
    *reason = SystemErrorText(synced ? errno : syncError);
    return false;
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
