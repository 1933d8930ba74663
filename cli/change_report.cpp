#include "cli/change_report.h"

#include "cli/utf8_sequences.h"

const char* ChangeWord(const ReaderReport& report, bool check) {
    if (report.outcome != Outcome::kOk) return ResultCode(report.outcome);
    if (!report.changed) return "unchanged";
    if (!check) return "changed";
    return ForcedAlone(report) ? "forced" : "differs";
}

bool ForcedAlone(const ReaderReport& report) { return report.changed && report.changes.empty(); }

std::string ChangesAsText(const ConsoleTexts& texts, const ReaderReport& report, bool check) {
    if (report.outcome == Outcome::kOtherModel) {
        return Escaped(report.port) + ": " + texts.skipped + " (" + ResultCode(report.outcome) + "): model " +
               ModelInfoOf(report.model)->name + "\n";
    }
    std::string text = Escaped(report.port) + ": " + ChangeWord(report, check) + "\n";
    if (report.outcome != Outcome::kOk) return text;
    if (ForcedAlone(report)) return text + "  " + texts.forcedAlone + "\n";
    for (const SettingChange& change : report.changes) {
        // The type comes into use with a format other than touch-memory.
        const bool unused = change.from == kNoValue && !SettingIsUsed(report.before, change.id);
        text += std::string("  ") + KeyOfSetting(report.model, change.id) + ": " +
                (unused ? texts.notUsed : ValueName(change.id, report.model, change.from, texts)) + " -> " +
                ValueName(change.id, report.model, change.to, texts) + "\n";
    }
    return text;
}

nlohmann::ordered_json ChangesAsJson(const ReaderReport& report) {
    nlohmann::ordered_json changes = nlohmann::ordered_json::array();
    const ConsoleTexts& english = ConsoleTextsFor(false);
    for (const SettingChange& change : report.changes) {
        const nlohmann::ordered_json from =
            change.from == kNoValue ? nlohmann::ordered_json()
                                    : nlohmann::ordered_json(ValueName(change.id, report.model, change.from, english));
        changes.push_back({{"key", KeyOfSetting(report.model, change.id)},
                           {"from", from},
                           {"to", ValueName(change.id, report.model, change.to, english)}});
    }
    return changes;
}
