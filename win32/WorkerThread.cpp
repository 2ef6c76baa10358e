#include "win32/WorkerThread.h"

#include "win32/Dialog.h"
#include "win32/UniqueHandle.h"

#include <utility>

WorkerThread::WorkerThread(Dialog& listener) : dialog_(&listener) { listener.worker_ = this; }

WorkerThread::~WorkerThread() {
    LetGo();
    dialog_->worker_ = nullptr;
}

void WorkerThread::LetGo() noexcept {
    if (!block_) return;
    block_->stop = true;
    {
        const CriticalSection::Lock locked(block_->lock);
        block_->listener = nullptr;
    }
    block_.reset();
}

void WorkerThread::Block::Tell() const {
    if (listener != nullptr) PostMessageA(listener, kNewsMessage, 0, 0);
}

bool WorkerThread::Start(std::shared_ptr<Block> block) {
    LetGo();
    block->listener = dialog_->Handle();
    // The worker's own share, which it frees.
    auto share = std::make_unique<std::shared_ptr<Block>>(block);
    DWORD threadId = 0;  // Windows 95 wants somewhere to write it
    const UniqueKernelHandle thread(CreateThread(nullptr, 0, &WorkerThread::Main, share.get(), 0, &threadId));
    if (!thread) return false;
    share.release();
    block_ = std::move(block);
    return true;
}

DWORD WINAPI WorkerThread::Main(LPVOID share) noexcept {
    const std::unique_ptr<std::shared_ptr<Block>> owned(static_cast<std::shared_ptr<Block>*>(share));
    (*owned)->run(**owned);
    return 0;
}
