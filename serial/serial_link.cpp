#include "serial/serial_link.h"

#include <cstring>
#include <string>

#include "app/format.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/texts.h"
#include "serial/serial_port.h"

SerialLinkState g_serial;

namespace {

constexpr char kDevicePrefix[] = "\\\\.\\";  // the device namespace, used for COM1 to COM9 too
constexpr std::size_t kDevicePrefixLength = sizeof(kDevicePrefix) - 1;
constexpr std::size_t kNameMaxLength = kPortNameCapacity - 1;

// A read asks for one byte, so each read waits at most 10 x 1 + 50 = 60 ms:
// the reply ends at the first 60 ms gap. A write of n bytes gets 10 x n + 50 ms.
constexpr PortTimeouts kTimeouts = {50, 10, 50, 10, 50};

constexpr std::uint8_t kByteSize = 8;
constexpr std::uint8_t kNoParity = 0;
constexpr std::uint8_t kOneStopBit = 0;

// Builds "\\.\" + name into `path`; false when the name is longer than a port
// name can be (it is never cut short: a cut name could open another port).
bool BuildDevicePath(const char* name, char (&path)[kDevicePrefixLength + kNameMaxLength + 1]) {
    std::size_t length = 0;
    while (name[length] != '\0') {
        if (length == kNameMaxLength) return false;
        ++length;
    }
    std::memcpy(path, kDevicePrefix, kDevicePrefixLength);
    std::memcpy(path + kDevicePrefixLength, name, length + 1);
    return true;
}

bool ConfigurePort(PortHandle port, std::uint32_t baud) {
    // Time-outs first: a port that cannot take them is not configured further.
    if (!PortSetTimeouts(port, kTimeouts)) return false;
    PortLineState line{};
    if (!PortGetLineState(port, &line)) return false;
    line.baudRate = baud;
    line.byteSize = kByteSize;
    line.parity = kNoParity;
    line.stopBits = kOneStopBit;
    return PortSetLineState(port, line);
}

void ShowSerialError(std::int32_t error, const char* what) {
    const std::string text = FormatText("%s [%d] %s", g_lang.text.WordError, error, what);
    ShowSystemMessage(g_main.window, text.c_str(), g_lang.text.CaptionMessage, kStyleIconError);
}

bool IsLive(PortHandle port) { return port != nullptr && port != InvalidPortHandle(); }

}  // namespace

bool OpenPort(const char* name, std::uint32_t baud) {
    char path[kDevicePrefixLength + kNameMaxLength + 1];
    if (!BuildDevicePath(name, path)) {
        g_serial.handle = InvalidPortHandle();
        return false;
    }
    g_serial.handle = PortCreate(path);
    if (g_serial.handle == InvalidPortHandle()) return false;
    if (ConfigurePort(g_serial.handle, baud)) return true;
    // The handle is exclusive: kept open, it would lock the port until exit.
    PortClose(g_serial.handle);
    g_serial.handle = InvalidPortHandle();
    return false;
}

bool ReadPort(std::uint8_t* buffer, std::int32_t capacity, std::int32_t* length) {
    if (capacity < 1) return false;
    std::int32_t count = 0;
    for (;;) {
        std::uint8_t byte = 0;
        std::uint32_t received = 0;
        if (!PortReadByte(g_serial.handle, &byte, &received)) {
            ShowSerialError(PortLastError(), g_lang.text.MsgReadPortError);
            return false;
        }
        if (received == 0) {  // the line stayed quiet for a whole read time-out
            if (count == 0) return false;
            *length = count;
            return true;
        }
        buffer[count++] = byte;
        if (count == capacity) {  // the rest stays queued for the next read
            *length = count;
            return true;
        }
    }
}

bool WritePort(const std::uint8_t* data, std::int32_t count) {
    if (count < 0) return false;
    std::uint32_t written = 0;
    if (!PortWrite(g_serial.handle, data, static_cast<std::uint32_t>(count), &written)) {
        ShowSerialError(PortLastError(), g_lang.text.MsgWritePortError);
        return false;
    }
    return written == static_cast<std::uint32_t>(count);  // cut short by the write time-out: no message
}

void ClosePort() {
    if (!g_serial.portOpen) return;
    g_serial.portOpen = false;
    ReleasePortHandle();
}

void ReleasePortHandle() {
    // A failed open, or the port watch, has already closed its handle and left the invalid value.
    if (IsLive(g_serial.handle)) PortClose(g_serial.handle);
    g_serial.handle = InvalidPortHandle();
}

bool SetCurrentPortName(const std::string& name) {
    if (name.size() > kNameMaxLength) return false;
    std::memcpy(g_serial.portName, name.c_str(), name.size() + 1);
    return true;
}
