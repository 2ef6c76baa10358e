#include "win32/JobThreads.h"

#include "win32/UniqueHandle.h"

namespace {

DWORD WINAPI Start(LPVOID job) noexcept {
    (*static_cast<const std::function<void()>*>(job))();
    return 0;
}

}  // namespace

void JobThreads::RunTogether(const std::vector<std::function<void()>>& jobs) {
    std::vector<UniqueKernelHandle> threads;
    std::vector<const std::function<void()>*> left;
    for (const std::function<void()>& job : jobs) {
        DWORD threadId = 0;  // 95, 98 and Me refuse a thread without it
        auto* run = const_cast<std::function<void()>*>(&job);
        UniqueKernelHandle thread(CreateThread(nullptr, 0, &Start, run, 0, &threadId));
        if (thread) {
            threads.push_back(std::move(thread));
        } else {
            left.push_back(&job);
        }
    }
    for (const std::function<void()>* job : left) (*job)();
    for (const UniqueKernelHandle& thread : threads) WaitForSingleObject(thread.get(), INFINITE);
}
