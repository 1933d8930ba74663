// The serial calls on Linux: termios raw mode, exclusive use through TIOCEXCL and flock, and the
// time-outs of a read or a write kept beside the descriptor and waited out with poll.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "serial/serial_port_glue.h"
#include "serial/serial_port_interrupt.h"

namespace {

struct PosixPort {
    int fd;
    int slot;               // in the table of open ports, for an interrupt to close it
    PortTimeouts timeouts;  // of the next reads and writes
};

thread_local std::int32_t t_lastError = 0;

std::atomic<bool> g_deferInterrupts{false};
std::atomic<int> g_interruptSignal{0};

// Open ports with their line settings from before the open: Ctrl+C puts them back and closes them.
constexpr int kMaxOpenPorts = 256;
std::atomic<int> g_openFds[kMaxOpenPorts];
termios g_savedLines[kMaxOpenPorts];

bool Fail() {
    t_lastError = errno;
    return false;
}

PosixPort* Port(PortHandle handle) { return static_cast<PosixPort*>(handle); }

int TakeSlot(int fd, const termios& saved) {
    for (int slot = 0; slot < kMaxOpenPorts; ++slot) {
        int expected = 0;
        if (g_openFds[slot].compare_exchange_strong(expected, -1)) {
            g_savedLines[slot] = saved;
            g_openFds[slot].store(fd + 1);  // 0 free, -1 being filled, fd + 1 in use
            return slot;
        }
    }
    return -1;
}

// Whatever the program was doing, the lines go back as they were and the locks go with the descriptors;
// unless the program has said it will finish its work and give the ports back itself.
void OnInterrupt(int signalNumber) {
    if (g_deferInterrupts.load()) {
        g_interruptSignal.store(signalNumber);
        return;
    }
    for (int slot = 0; slot < kMaxOpenPorts; ++slot) {
        const int stored = g_openFds[slot].load();
        if (stored <= 0) continue;
        tcsetattr(stored - 1, TCSANOW, &g_savedLines[slot]);
        ioctl(stored - 1, TIOCNXCL);
        close(stored - 1);
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

speed_t SpeedOf(std::uint32_t baud) {
    switch (baud) {
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B0;
    }
}

// poll for `events` at most `ms`; true when ready, false on a time-out (errno 0) or an error.
bool WaitFor(int fd, short events, std::uint32_t ms) {
    pollfd entry{fd, events, 0};
    for (;;) {
        const int ready = poll(&entry, 1, static_cast<int>(ms));
        if (ready > 0) return true;
        if (ready == 0) {
            errno = 0;
            return false;
        }
        if (errno != EINTR) return false;
    }
}

}  // namespace

void InstallSerialInterruptHandler() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

void DeferSerialInterrupts() { g_deferInterrupts.store(true); }

int SerialInterruptSignal() { return g_interruptSignal.load(); }

PortHandle PortCreate(const char* name) {
    const int fd = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Fail();
        return InvalidPortHandle();
    }
    termios saved{};
    int wasExclusive = 0;
    // flock keeps out another of ours and every program that locks the same way; TIOCEXCL the
    // others. Root gets past another program's TIOCEXCL, so a port found exclusive is busy: it is
    // left as it is. The lock comes first, so two of ours never undo each other's TIOCEXCL.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || tcgetattr(fd, &saved) != 0 || ioctl(fd, TIOCGEXCL, &wasExclusive) != 0 ||
        wasExclusive != 0 || ioctl(fd, TIOCEXCL) != 0) {
        t_lastError = wasExclusive != 0 ? EBUSY : errno;
        close(fd);  // the lock goes with it
        return InvalidPortHandle();
    }
    const int slot = TakeSlot(fd, saved);
    if (slot < 0) {
        t_lastError = EMFILE;
        close(fd);
        return InvalidPortHandle();
    }
    return new PosixPort{fd, slot, {}};
}

bool PortSetTimeouts(PortHandle port, const PortTimeouts& timeouts) {
    Port(port)->timeouts = timeouts;
    return true;
}

bool PortGetLineState(PortHandle port, PortLineState* state) {
    termios line{};
    if (tcgetattr(Port(port)->fd, &line) != 0) return Fail();
    *state = PortLineState{};
    state->byteSize = (line.c_cflag & CSIZE) == CS8 ? 8 : 7;
    state->stopBits = (line.c_cflag & CSTOPB) != 0 ? 2 : 0;
    state->parity = (line.c_cflag & PARENB) != 0 ? 2 : 0;
    return true;
}

// Raw bytes, no flow control of either kind, the receiver on and modem lines ignored.
bool PortSetLineState(PortHandle port, const PortLineState& state) {
    const speed_t speed = SpeedOf(state.baudRate);
    if (speed == B0 || state.byteSize != 8 || state.parity != 0 || state.stopBits != 0) {
        t_lastError = EINVAL;
        return false;
    }
    termios line{};
    if (tcgetattr(Port(port)->fd, &line) != 0) return Fail();
    cfmakeraw(&line);
    line.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
    line.c_cflag |= CS8 | CREAD | CLOCAL;
    line.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    cfsetispeed(&line, speed);
    cfsetospeed(&line, speed);
    if (tcsetattr(Port(port)->fd, TCSANOW, &line) != 0) return Fail();
    return true;
}

bool PortReadByte(PortHandle port, std::uint8_t* byte, std::uint32_t* received) {
    *received = 0;
    const PortTimeouts& timeouts = Port(port)->timeouts;
    if (!WaitFor(Port(port)->fd, POLLIN, timeouts.readTotalMultiplier + timeouts.readTotalConstant)) {
        return errno == 0 || Fail();
    }
    const ssize_t count = read(Port(port)->fd, byte, 1);
    if (count == 1) {
        *received = 1;
        return true;
    }
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    if (count == 0) errno = EIO;  // the device went away: a hang-up reads as the end of the file
    return Fail();
}

bool PortWrite(PortHandle port, const std::uint8_t* data, std::uint32_t count, std::uint32_t* written) {
    *written = 0;
    const PortTimeouts& timeouts = Port(port)->timeouts;
    const std::uint32_t allowedMs = timeouts.writeTotalMultiplier * count + timeouts.writeTotalConstant;
    while (*written < count) {
        if (!WaitFor(Port(port)->fd, POLLOUT, allowedMs)) return errno == 0 || Fail();  // cut short
        const ssize_t done = write(Port(port)->fd, data + *written, count - *written);
        if (done < 0 && errno != EAGAIN && errno != EINTR) return Fail();
        if (done > 0) *written += static_cast<std::uint32_t>(done);
    }
    return true;
}

bool PortDiscardInput(PortHandle port) { return tcflush(Port(port)->fd, TCIFLUSH) == 0 || Fail(); }

void PortClose(PortHandle port) {
    PosixPort* record = Port(port);
    g_openFds[record->slot].store(-1);
    tcsetattr(record->fd, TCSANOW, &g_savedLines[record->slot]);
    // Another descriptor of the tty (a monitor, the other end's keeper) would keep it exclusive.
    ioctl(record->fd, TIOCNXCL);
    close(record->fd);  // the lock goes with it
    g_openFds[record->slot].store(0);
    delete record;
}

std::int32_t PortLastError() { return t_lastError; }
