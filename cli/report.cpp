#include "cli/report.h"

#include <nlohmann/json.hpp>

#include "cli/change_report.h"
#include "cli/profile.h"
#include "cli/utf8_sequences.h"

namespace {

const char* kUsbReaderName = "zentak-6-usb";
const char* const kSkipCodes[] = {"console", "no-uart", "no-device"};  // by TtySkip, from kConsole

}  // namespace

nlohmann::ordered_json ReportAsJson(const ConsoleTexts& texts, const ReaderReport& report, bool writes) {
    nlohmann::ordered_json object;
    object["port"] = report.port;
    const ModelInfo* info = ModelInfoOf(report.model);
    object["model"] = info != nullptr ? nlohmann::ordered_json(info->name) : nlohmann::ordered_json();
    object["version"] = report.version.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(report.version);
    for (const auto& [key, value] : SettingsInUse(report.settings)) object[key] = value;
    object["result"] = ResultCode(report.outcome);
    if (report.outcome != Outcome::kOk) object["message"] = DescribeFailure(texts, report);
    if (report.error != 0) object["error"] = report.error;
    if (writes) {
        object["written"] = report.written;
        object["changed"] = report.changed;
        object["forced"] = ForcedAlone(report);
        object["changes"] = ChangesAsJson(report);
        nlohmann::ordered_json before;  // null when the reader could not be read
        for (const auto& [key, value] : SettingsInUse(report.before)) before[key] = value;
        object["before"] = before;
    }
    return object;
}

std::string SettingsAsText(const ConsoleTexts& texts, const ReaderReport& report) {
    std::string text = "port: " + Escaped(report.port) + "\n";
    text += std::string("model: ") + ModelInfoOf(report.model)->name + "\n";
    text += "version: " + report.version + "\n";
    for (const auto& [key, value] : SettingsInUse(report.settings)) {
        bool changed = false;
        for (const SettingChange& change : report.changes) {
            changed = changed || (report.written && key == KeyOfSetting(report.model, change.id));
        }
        text += key + ": " + value + (changed ? std::string("  ") + texts.changedMark : "") + "\n";
    }
    return text;
}

std::string SettingsAsJson(const ConsoleTexts& texts, const std::vector<ReaderReport>& reports, bool asArray,
                           bool writes) {
    nlohmann::ordered_json json = nlohmann::ordered_json::array();
    for (const ReaderReport& report : reports) json.push_back(ReportAsJson(texts, report, writes));
    if (!asArray && json.size() == 1)
        return json[0].dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::string PortsAsText(const ConsoleTexts& texts, const std::vector<SystemPort>& ports) {
    std::string text;
    for (const SystemPort& port : ports) {
        text += Escaped(port.name) + (port.usbReader ? std::string("  ") + kUsbReaderName : "");
        if (port.skip != TtySkip::kNone) {
            text += std::string("  ") + texts.skipped + ": " + texts.skipReasons[static_cast<int>(port.skip) - 1];
        }
        text += "\n";
    }
    return text;
}

std::string PortsAsJson(const std::vector<SystemPort>& ports) {
    nlohmann::ordered_json json = nlohmann::ordered_json::array();
    for (const SystemPort& port : ports) {
        json.push_back({{"port", port.name}, {"usb_reader", port.usbReader}});
        if (port.skip != TtySkip::kNone) json.back()["skipped"] = kSkipCodes[static_cast<int>(port.skip) - 1];
    }
    return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
