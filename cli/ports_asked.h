#pragma once

#include <string>
#include <vector>

#include "cli/run_context.h"
#include "cli/system_glue.h"

// Which ports a command asks, and as which reader first.

// "no serial ports found", said as a failure; a stand-in root that is no folder (a slip in its name) is named.
int FailForNoPorts(const RunContext& options);

// The ports named, or without any the ports to ask: a console or a placeholder is asked only when named.
// False, said as a failure, when there are none.
bool PortsOf(const RunContext& options, const std::vector<SystemPort>& system, std::vector<std::string>* ports);

// The system's record of the port that `name` leads to, under any of its names; null when it lists none.
const SystemPort* SystemPortOf(const std::vector<SystemPort>& system, const std::string& name);

// Without --model a port whose USB identifiers are the USB reader's is asked as that first.
bool AskUsbFirst(const RunContext& options, const std::vector<SystemPort>& system, const std::string& port);
