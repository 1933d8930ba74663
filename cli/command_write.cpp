#include "cli/commands.h"
#include "cli/profile.h"
#include "cli/system_glue.h"

int RunWrite(const RunContext& options) {
    const ProfileResult changes = ParseAssignments(options.assignments, options.model);
    if (changes.error != ProfileError::kNone) {
        return Fail(options, RunFailure::kBadProfile, DescribeProfileError(*options.texts, changes, ""), kExitUsage);
    }
    FinishWorkWhenInterrupted();
    const ReaderReport report = WriteReader(options.ports[0], changes.settings, options.write);
    return Ended(ShowOne(options, report, true));
}
