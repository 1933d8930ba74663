#include "cli/run_failure.h"

#include <nlohmann/json.hpp>

const char* ResultCode(RunFailure failure) {
    static const char* const kCodes[kRunFailureCount] = {"usage", "bad-profile", "file-error", "no-ports", "no-reader"};
    return kCodes[static_cast<int>(failure)];
}

std::string FailureAsJson(RunFailure failure, const std::string& message) {
    const nlohmann::ordered_json json = {{"result", ResultCode(failure)}, {"message", message}};
    // One line, as watch --json gives each of its records: a reader of lines takes it as well as a whole.
    return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
