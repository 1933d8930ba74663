#include "tests/unit/fakes/fake_serial.h"

#include "serial/serial_link.h"

FakeSerial g_fakeSerial;

namespace {

constexpr std::int32_t kErrorFileNotFound = 2;
constexpr std::int32_t kErrorInvalidHandle = 6;
const std::string kDevicePrefix = "\\\\.\\";

// Handles are 1-based indexes into g_fakeSerial.handles, so never null or invalid.
PortHandle HandleFromIndex(std::size_t index) { return reinterpret_cast<PortHandle>(index + 1); }

FakeSerialHandle* HandleRecord(PortHandle handle) {
    const std::uintptr_t value = reinterpret_cast<std::uintptr_t>(handle);
    if (value == 0 || value > g_fakeSerial.handles.size()) return nullptr;
    return &g_fakeSerial.handles[value - 1];
}

// The port behind an open handle; otherwise the call fails as the system's would.
FakeSerialPort* LivePort(PortHandle handle, const char* call) {
    FakeSerialHandle* record = HandleRecord(handle);
    if (record == nullptr || !record->open) {
        g_fakeSerial.lastError = kErrorInvalidHandle;
        return nullptr;
    }
    FakeSerialPort& port = g_fakeSerial.ports[static_cast<std::size_t>(record->port)];
    port.calls.push_back(call);
    return &port;
}

bool Fails(std::int32_t error) {
    if (error == 0) return false;
    g_fakeSerial.lastError = error;
    return true;
}

}  // namespace

void ResetFakeSerial() {
    g_fakeSerial = FakeSerial{};
    g_serial = SerialLinkState{};
}

FakeSerialPort& AddFakePort(const char* name) {
    g_fakeSerial.ports.emplace_back();
    FakeSerialPort& port = g_fakeSerial.ports.back();
    port.name = name;
    port.driverState.baudRate = 9600;
    port.driverState.byteSize = 7;
    port.driverState.parity = 2;
    port.driverState.stopBits = 2;
    // A recognisable driver block: every byte must come back as it was.
    for (int i = 0; i < kPortStateSize; ++i) port.driverState.reported[i] = static_cast<unsigned char>(0xA0 + i);
    return port;
}

void QueueBytes(FakeSerialPort& port, const std::string& bytes) {
    for (char c : bytes) port.incoming.push_back({FakeLineEvent::kByte, static_cast<std::uint8_t>(c), 0});
}

void QueueGap(FakeSerialPort& port) { port.incoming.push_back({FakeLineEvent::kGap, 0, 0}); }

void QueueReadError(FakeSerialPort& port, std::int32_t error) {
    port.incoming.push_back({FakeLineEvent::kReadError, 0, error});
}

int OpenFakeHandles() {
    int open = 0;
    for (const FakeSerialHandle& handle : g_fakeSerial.handles) open += handle.open ? 1 : 0;
    return open;
}

FakeSerialPort* FakePortOf(PortHandle handle) {
    FakeSerialHandle* record = HandleRecord(handle);
    return record == nullptr ? nullptr : &g_fakeSerial.ports[static_cast<std::size_t>(record->port)];
}

// ---- serial/serial_port_glue.h
PortHandle PortCreate(const char* path) {
    g_fakeSerial.paths.push_back(path);
    const std::string text = path;
    for (std::size_t i = 0; i < g_fakeSerial.ports.size(); ++i) {
        FakeSerialPort& port = g_fakeSerial.ports[i];
        if (text != kDevicePrefix + port.name) continue;
        if (Fails(port.openError)) return InvalidPortHandle();
        g_fakeSerial.handles.push_back({static_cast<int>(i), true});
        return HandleFromIndex(g_fakeSerial.handles.size() - 1);
    }
    g_fakeSerial.lastError = kErrorFileNotFound;
    return InvalidPortHandle();
}

bool PortSetTimeouts(PortHandle handle, const PortTimeouts& timeouts) {
    FakeSerialPort* port = LivePort(handle, "timeouts");
    if (port == nullptr || Fails(port->timeoutsError)) return false;
    port->timeoutsSet = true;
    port->timeouts = timeouts;
    return true;
}

bool PortGetLineState(PortHandle handle, PortLineState* state) {
    FakeSerialPort* port = LivePort(handle, "get");
    if (port == nullptr || Fails(port->getStateError)) return false;
    *state = port->driverState;
    return true;
}

bool PortSetLineState(PortHandle handle, const PortLineState& state) {
    FakeSerialPort* port = LivePort(handle, "set");
    if (port == nullptr || Fails(port->setStateError)) return false;
    port->stateSet = true;
    port->state = state;
    return true;
}

bool PortReadByte(PortHandle handle, std::uint8_t* byte, std::uint32_t* received) {
    *received = 0;
    FakeSerialPort* port = LivePort(handle, "read");
    if (port == nullptr) return false;
    if (port->incoming.empty()) return true;
    const FakeLineEvent event = port->incoming.front();
    port->incoming.pop_front();
    if (event.kind == FakeLineEvent::kReadError) return !Fails(event.error);
    if (event.kind == FakeLineEvent::kByte) {
        *byte = event.byte;
        *received = 1;
    }
    return true;
}

bool PortWrite(PortHandle handle, const std::uint8_t* data, std::uint32_t count, std::uint32_t* written) {
    *written = 0;
    FakeSerialPort* port = LivePort(handle, "write");
    if (port == nullptr || Fails(port->writeError)) return false;
    std::uint32_t done = count;
    if (port->writeLimit >= 0 && static_cast<std::uint32_t>(port->writeLimit) < count) {
        done = static_cast<std::uint32_t>(port->writeLimit);
    }
    port->written.append(reinterpret_cast<const char*>(data), done);
    *written = done;
    return true;
}

void PortClose(PortHandle handle) {
    FakeSerialHandle* record = HandleRecord(handle);
    if (record == nullptr || !record->open) {
        ++g_fakeSerial.badCloses;
        return;
    }
    record->open = false;
    g_fakeSerial.ports[static_cast<std::size_t>(record->port)].calls.push_back("close");
}

std::int32_t PortLastError() { return g_fakeSerial.lastError; }
