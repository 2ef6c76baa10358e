#pragma once
#include "win32/CriticalSection.h"

#include <windows.h>

#include <atomic>
#include <memory>

class Dialog;

// A dialog's worker thread, one at a time, and the block the two share: the
// last of them to let go frees it, so a worker that outlives its dialog
// still has it. The dialog never waits for its worker. The worker tells the
// dialog's window of news with kNewsMessage (Dialog::OnWorkerNews) until it
// is let go: by a new start, by LetGo, or by the window's destruction,
// which comes before its handle can name another window. Worker adds what
// the work publishes.
class WorkerThread {
public:
    // From a worker to its dialog: there is news to take.
    static constexpr UINT kNewsMessage = WM_APP + 1;

    explicit WorkerThread(Dialog& listener);
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    ~WorkerThread();

    // A worker is under way and heard.
    bool Busy() const { return block_ != nullptr; }
    // The worker ends after the step under way, alone; nothing it finds reaches the window.
    void LetGo() noexcept;

protected:
    struct Block {
        // Under lock: news for the window, while one listens.
        void Tell() const;

        // The work, on the worker thread, and the block's deletion as the
        // type it was made; pointers, not virtuals, so that the blocks need
        // no tables of their own in the programs, and shares of every kind
        // of block one deleter (Shared).
        void (*run)(Block& block) = nullptr;
        void (*destroy)(Block* block) = nullptr;
        std::atomic<bool> stop{false};
        CriticalSection lock;
        HWND listener = nullptr;  // under lock
    };

    // The first share of a block made with new.
    static std::shared_ptr<Block> Shared(Block* block) {
        return std::shared_ptr<Block>(block, [](Block* made) { made->destroy(made); });
    }
    // Lets the previous worker go and runs block on a thread of its own;
    // false, with nothing under way, when no thread could be started.
    bool Start(std::shared_ptr<Block> block);
    // After the last news: the worker is done, and the dialog lets go of the block.
    void Forget() noexcept { block_.reset(); }
    Block* Shown() const { return block_.get(); }

private:
    static DWORD WINAPI Main(LPVOID share) noexcept;

    Dialog* dialog_;
    std::shared_ptr<Block> block_;  // the worker heard, if any
};
