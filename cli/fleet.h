#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/reader_session.h"

// Serves every port at once, one thread each; the reports come back in the
// order of `ports`, and one port's failure does not stop the others. With
// `progress` a one-line count is kept up to date on standard error.
std::vector<ReaderReport> ForEachPort(const std::vector<std::string>& ports,
                                      const std::function<ReaderReport(const std::string&)>& work, bool progress,
                                      const char* progressLabel);
