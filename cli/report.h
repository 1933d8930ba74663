#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/messages.h"
#include "cli/reader_session.h"
#include "cli/system_glue.h"

// Output for people ("key: value" lines) and for scripts (--json).

// port, model, version, then each setting in use, one "key: value" line each.
std::string SettingsAsText(const ReaderReport& report);

// The same keys as one JSON object; with `result` a "result" member: "ok" or why the port failed.
std::string SettingsAsJson(const ConsoleTexts& texts, const std::vector<ReaderReport>& reports, bool asArray);

// One report as SettingsAsJson gives it; a write's also with "changed", "changes" and the settings "before".
nlohmann::ordered_json ReportAsJson(const ConsoleTexts& texts, const ReaderReport& report);

std::string PortsAsText(const std::vector<SystemPort>& ports);
std::string PortsAsJson(const std::vector<SystemPort>& ports);
