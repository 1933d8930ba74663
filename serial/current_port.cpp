#include "serial/current_port.h"

#include <cstring>

#include "app/message_box.h"
#include "app/texts.h"

CurrentPortState g_serial;

bool OpenPort(const char* name, std::uint32_t baud) { return LinkOpen(name, baud, &g_serial.handle); }

bool ReadPort(std::uint8_t* buffer, std::int32_t capacity, std::int32_t* length) {
    std::int32_t error = 0;
    const LinkResult result = LinkReadReply(g_serial.handle, buffer, capacity, length, &error, 0);
    if (result == kLinkError) ReportSerialError(error, g_lang.text.MsgReadPortError);
    return result == kLinkOk;
}

bool WritePort(const std::uint8_t* data, std::int32_t count) {
    std::int32_t error = 0;
    const LinkResult result = LinkWrite(g_serial.handle, data, count, &error);
    // Cut short by the write time-out: no message.
    if (result == kLinkError) ReportSerialError(error, g_lang.text.MsgWritePortError);
    return result == kLinkOk;
}

void ClosePort() {
    if (!g_serial.portOpen) return;
    g_serial.portOpen = false;
    ReleasePortHandle();
}

// A failed open, or the port watch, has already closed its handle and left the invalid value.
void ReleasePortHandle() { LinkClose(&g_serial.handle); }

bool SetCurrentPortName(const std::string& name) {
    if (name.size() >= static_cast<std::size_t>(kPortNameCapacity)) return false;
    std::memcpy(g_serial.portName, name.c_str(), name.size() + 1);
    return true;
}
