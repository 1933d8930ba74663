#include "cli/ports_asked.h"

#include "base/format.h"
#include "cli/command_output.h"

namespace {

std::vector<std::string> PortsToAsk(const std::vector<SystemPort>& system) {
    std::vector<std::string> names;
    for (const SystemPort& port : system) {
        if (port.skip == TtySkip::kNone) names.push_back(port.name);
    }
    return names;
}

}  // namespace

int FailForNoPorts(const RunContext& options) {
    std::string message = options.texts->noSerialPorts;
    const std::string root = SystemRoot();
    const PathFacts facts = root.empty() ? PathFacts{} : LookAtPath(root);
    if (!root.empty() && (facts.kind == PathKind::kLink ? facts.leadsTo : facts.kind) != PathKind::kFolder) {
        message += ": " + FormatText(options.texts->rootNotAFolder, root.c_str());
    }
    return Fail(options, RunFailure::kNoPorts, message, kExitFailed);
}

bool PortsOf(const RunContext& options, const std::vector<SystemPort>& system, std::vector<std::string>* ports) {
    *ports = options.ports.empty() ? PortsToAsk(system) : options.ports;
    if (!ports->empty()) return true;
    FailForNoPorts(options);
    return false;
}

const SystemPort* SystemPortOf(const std::vector<SystemPort>& system, const std::string& name) {
    const std::string identity = PortIdentity(name);
    for (const SystemPort& known : system) {
        if (known.name == name || PortIdentity(known.name) == identity) return &known;
    }
    return nullptr;
}

bool AskUsbFirst(const RunContext& options, const std::vector<SystemPort>& system, const std::string& port) {
    const SystemPort* known = options.model < 0 ? SystemPortOf(system, port) : nullptr;
    return known != nullptr && known->usbReader;
}
