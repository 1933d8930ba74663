#include <iostream>

#include "cli/commands.h"
#include "cli/ports_asked.h"
#include "cli/report.h"

int RunPorts(const RunContext& options) {
    const std::vector<SystemPort> ports = ListSystemPorts();
    if (ports.empty()) return FailForNoPorts(options);
    std::cout << (options.json ? PortsAsJson(ports) : PortsAsText(*options.texts, ports));
    return kExitOk;
}
