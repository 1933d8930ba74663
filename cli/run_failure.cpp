#include "cli/run_failure.h"

#include <nlohmann/json.hpp>

const char* ResultCode(RunFailure failure) {
    static const char* const kCodes[kRunFailureCount] = {"usage", "bad-profile", "file-error", "no-ports"};
    return kCodes[static_cast<int>(failure)];
}

std::string FailureAsJson(RunFailure failure, const std::string& message) {
    const nlohmann::ordered_json json = {{"result", ResultCode(failure)}, {"message", message}};
    return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
