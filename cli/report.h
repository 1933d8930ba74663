#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/messages.h"
#include "cli/reader_session.h"
#include "cli/system_glue.h"

// Output for people ("key: value" lines) and for scripts (--json).

// port, model, version, then each setting in use, one "key: value" line each; the ones a write changed
// marked.
std::string SettingsAsText(const ConsoleTexts& texts, const ReaderReport& report);

// One JSON object per port with the same keys, then "result" (its code: "ok", "no-answer", ...), on a
// failure "message" (why, in the user's language) and "error" (the system's number, where there is one),
// and with `writes` "written" (the reader took the write) and "changed" (the keys that changed). A single
// report without `asArray` is printed as the object alone.
std::string SettingsAsJson(const ConsoleTexts& texts, const std::vector<ReaderReport>& reports, bool asArray,
                           bool writes);

// One report as SettingsAsJson gives it.
nlohmann::ordered_json ReportAsJson(const ConsoleTexts& texts, const ReaderReport& report, bool writes);

// Every port, a port left out of find, --all and watch marked with why ("skipped" in JSON: "console",
// "no-uart", "no-device").
std::string PortsAsText(const ConsoleTexts& texts, const std::vector<SystemPort>& ports);
std::string PortsAsJson(const std::vector<SystemPort>& ports);
