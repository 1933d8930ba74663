#include "cli/run_tally.h"

#include "base/format.h"
#include "cli/utf8_sequences.h"

void AddPort(std::string* list, const std::string& port) { *list += (list->empty() ? " " : ", ") + Escaped(port); }

void SkipOtherModel(ReaderReport* report) {
    if (report->outcome == Outcome::kWrongModel) report->outcome = Outcome::kOtherModel;
}

void CountReport(const ConsoleTexts& texts, const ReaderReport& report, RunTally* tally) {
    switch (report.outcome) {
        case Outcome::kOk:
            ++tally->readers;
            tally->changed += report.changed ? 1 : 0;
            return;
        case Outcome::kNotAttempted:
            return AddPort(&tally->notAttempted, report.port);
        case Outcome::kOtherModel:
            return AddPort(&tally->otherModel, report.port);
        case Outcome::kUnplugged:
            return AddPort(&tally->unplugged, report.port);
        default:
            ++tally->readers;
            ++tally->failed;
            tally->failures += "\n  " + FailureLine(texts, report);
    }
}

std::string SummaryText(const ConsoleTexts& texts, const RunTally& tally, bool check) {
    const int ok = tally.readers - tally.failed;
    std::string text = FormatText(check ? texts.summaryChecked : texts.summaryDone, ok, tally.readers, tally.changed,
                                  ok - tally.changed, tally.failed);
    if (!tally.failures.empty()) text += ":" + tally.failures;
    text += "\n";
    if (!tally.notAttempted.empty()) text += texts.summaryNotAttempted + tally.notAttempted + "\n";
    if (!tally.unplugged.empty()) text += texts.summaryUnplugged + tally.unplugged + "\n";
    if (!tally.otherModel.empty()) text += texts.skippedOtherModel + tally.otherModel + "\n";
    if (!tally.notLogged.empty()) text += texts.notLogged + tally.notLogged + "\n";
    return text;
}
