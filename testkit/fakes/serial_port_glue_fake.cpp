#include <algorithm>
#include <cstring>

#include "testkit/fakes/fakes.h"

FakeSerial g_fakeSerial;

// A handle is its port's index + 1: neither null nor the invalid value. Null
// when it is not an open port's; the call then fails as the system's would.
static FakePort* LivePort(PortHandle handle) {
    const std::uintptr_t index = reinterpret_cast<std::uintptr_t>(handle) - 1;
    if (index < g_fakeSerial.ports.size() && g_fakeSerial.ports[index].open) return &g_fakeSerial.ports[index];
    g_fakeSerial.lastError = 6;  // the invalid-handle error
    return nullptr;
}

static FakePort* Configure(PortHandle handle, char call) {
    FakePort* port = LivePort(handle);
    if (port != nullptr) port->calls += call;
    return port != nullptr && port->failingCall != call ? port : nullptr;
}

PortHandle PortCreate(const char* name) {
    for (std::size_t i = 0; i < g_fakeSerial.ports.size(); ++i) {
        if (g_fakeSerial.ports[i].name != name || g_fakeSerial.ports[i].open) continue;  // opens are exclusive
        g_fakeSerial.ports[i].open = true;
        return reinterpret_cast<PortHandle>(i + 1);
    }
    return InvalidPortHandle();
}

bool PortSetTimeouts(PortHandle handle, const PortTimeouts& timeouts) {
    FakePort* port = Configure(handle, 't');
    if (port != nullptr) port->timeouts = timeouts;
    return port != nullptr;
}

bool PortGetLineState(PortHandle handle, PortLineState* state) {
    FakePort* port = Configure(handle, 'g');
    if (port == nullptr) return false;
    *state = PortLineState{9600, 7, 2, 2, {}};  // none of what the program sets
    std::memcpy(state->reported, port->driverBlock, kPortStateSize);
    return true;
}

bool PortSetLineState(PortHandle handle, const PortLineState& state) {
    FakePort* port = Configure(handle, 's');
    if (port != nullptr) port->state = state;
    return port != nullptr;
}

bool PortReadByte(PortHandle handle, std::uint8_t* byte, std::uint32_t* received) {
    if (g_fakeSerial.reads++ == 0 && g_fakeSerial.onFirstRead != nullptr) g_fakeSerial.onFirstRead();
    *received = 0;
    FakePort* port = LivePort(handle);
    if (port == nullptr) return false;
    port->readWaits.push_back(port->timeouts.readTotalMultiplier + port->timeouts.readTotalConstant);
    const int next = port->line.empty() ? kGap : port->line.front();
    if (!port->line.empty()) port->line.pop_front();
    if (next == kReadFails) g_fakeSerial.lastError = port->readError;
    if (next >= 0) *byte = static_cast<std::uint8_t>(next);
    *received = next >= 0 ? 1 : 0;
    return next != kReadFails;
}

bool PortWrite(PortHandle handle, const std::uint8_t* data, std::uint32_t count, std::uint32_t* written) {
    *written = 0;
    FakePort* port = LivePort(handle);
    if (port != nullptr && port->writeError != 0) g_fakeSerial.lastError = port->writeError;
    if (port == nullptr || port->writeError != 0) return false;
    *written = port->writeLimit < 0 ? count : std::min(count, static_cast<std::uint32_t>(port->writeLimit));
    port->written.append(reinterpret_cast<const char*>(data), *written);
    return true;
}

bool PortDiscardInput(PortHandle handle) {
    FakePort* port = LivePort(handle);
    if (port == nullptr) return false;
    port->line.clear();
    return true;
}

void PortClose(PortHandle handle) {
    if (FakePort* port = LivePort(handle)) {
        port->calls += 'c';
        port->open = false;
        port->line.clear();  // as the system drops what was received and not read
    } else {
        g_fakeSerial.badCloses++;
    }
}

std::int32_t PortLastError() { return g_fakeSerial.lastError; }
