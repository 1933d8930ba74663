#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "cli/messages.h"
#include "cli/reader_session.h"

// What a write or apply did to each reader: changed, unchanged (nothing was
// sent), or with --check what differs.

// "changed", "unchanged", the result code of a failure ("no-answer"), or with
// `check` "differs" for a reader a write would change, "forced" for one that --force alone would write.
const char* ChangeWord(const ReaderReport& report, bool check);

// The write went out (with --check: would go out) only because of --force: no setting differed.
bool ForcedAlone(const ReaderReport& report);

// The port with its word, then one "  key: from -> to" line per change, or why a write with none went out.
std::string ChangesAsText(const ConsoleTexts& texts, const ReaderReport& report, bool check);

// [{"key", "from", "to"}, ...]; "from" is null for a code this program does not know.
nlohmann::ordered_json ChangesAsJson(const ReaderReport& report);
