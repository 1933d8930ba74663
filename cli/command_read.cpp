#include "cli/commands.h"
#include "cli/ports_asked.h"

int RunRead(const RunContext& options) {
    const std::string& port = options.ports[0];
    return ShowOne(options, ReadReader(port, options.model, AskUsbFirst(options, ListSystemPorts(), port)), false);
}
