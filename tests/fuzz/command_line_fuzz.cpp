// Arbitrary bytes as mz6's whole command line: the arguments, NUL-separated, and after the last NUL the
// profile that "apply -" would read. Whatever they hold, the parse ends in an exit status with its message,
// or in a command with a port to work on, and the command's settings parse or are refused.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1) {
        args.push_back(bytes.substr(start, end - start));
    }
    Invocation invocation;
    std::ostringstream out;
    std::ostringstream err;
    const int status = ParseCommandLine(args, size % 2 == 1, &invocation, out, err);
    if (status == kExitUsage && err.str().empty()) __builtin_trap();  // refused without a word
    if (status >= 0) {
        if (status != kExitOk && status != kExitUsage) __builtin_trap();
        return 0;
    }
    for (const std::string& port : invocation.run.ports) {
        if (port.find_first_not_of(" \t\r\n") == std::string::npos) __builtin_trap();  // a blank port runs
    }
    if (invocation.command == Command::kWrite) ParseAssignments(invocation.run.assignments, invocation.run.model);
    if (invocation.command == Command::kApply) {
        std::istringstream in(bytes.substr(start));
        std::string text;
        if (ReadProfileText(in, &text)) ParseProfile(text);
    }
    return 0;
}
