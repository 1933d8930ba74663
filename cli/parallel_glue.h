#pragma once

#include <cstddef>
#include <functional>

// Runs work(0) ... work(count - 1) each on a thread of its own and returns when
// all have ended: cli/win32/parallel_glue_win32.cpp (the MinGW runtime here has no
// std::thread), cli/posix/parallel_glue_posix.cpp. No fake: it decides nothing; tests/cli runs it on many
// simulated readers at once.
void RunInParallel(std::size_t count, const std::function<void(std::size_t)>& work);
