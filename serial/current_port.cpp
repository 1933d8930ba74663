#include "serial/current_port.h"

#include <cstring>

#include "app/text/texts.h"
#include "base/format.h"
#include "serial/port_view.h"

PortState g_ports;

bool OpenPort(const char* name, std::uint32_t baud) { return LinkOpen(name, baud, &g_ports.handle); }

bool ReadPort(std::uint8_t* buffer, std::int32_t capacity, std::int32_t* length) {
    std::int32_t error = 0;
    const LinkResult result = LinkReadReply(g_ports.handle, buffer, capacity, length, &error, 0);
    if (result == kLinkError) ReportSerialError(error, g_lang.text.MsgReadPortError);
    return result == kLinkOk;
}

bool WritePort(const std::uint8_t* data, std::int32_t count) {
    std::int32_t error = 0;
    const LinkResult result = LinkWrite(g_ports.handle, data, count, &error);
    // Cut short by the write time-out: no message.
    if (result == kLinkError) ReportSerialError(error, g_lang.text.MsgWritePortError);
    return result == kLinkOk;
}

void ClosePort() {
    if (!g_ports.portOpen) return;
    g_ports.portOpen = false;
    ReleasePortHandle();
}

// A failed open, or the port watch, has already closed its handle and left the invalid value.
void ReleasePortHandle() { LinkClose(&g_ports.handle); }

bool SetCurrentPortName(const std::string& name) {
    if (name.size() >= static_cast<std::size_t>(kPortNameCapacity)) return false;
    std::memcpy(g_ports.portName, name.c_str(), name.size() + 1);
    return true;
}

void ReportOpenFailure(const char* name) {
    ReportMessage(FormatText("%s [%s]!", g_lang.text.MsgErrorOpening, name).c_str(), kMsgError);
}
