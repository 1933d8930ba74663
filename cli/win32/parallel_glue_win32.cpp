#include <windows.h>

#include <vector>

#include "cli/parallel_glue.h"

namespace {

struct Job {
    const std::function<void(std::size_t)>* work;
    std::size_t index;
};

DWORD WINAPI RunJob(void* context) {
    const Job* job = static_cast<const Job*>(context);
    (*job->work)(job->index);
    return 0;
}

}  // namespace

void RunInParallel(std::size_t count, const std::function<void(std::size_t)>& work) {
    std::vector<Job> jobs(count);
    std::vector<HANDLE> threads;
    for (std::size_t i = 0; i < count; ++i) {
        jobs[i] = {&work, i};
        HANDLE thread = CreateThread(nullptr, 0, RunJob, &jobs[i], 0, nullptr);
        if (thread == nullptr) {
            RunJob(&jobs[i]);  // no thread to be had: this one runs here, the others still run
        } else {
            threads.push_back(thread);
        }
    }
    for (HANDLE thread : threads) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
}
