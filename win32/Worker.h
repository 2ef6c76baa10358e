#pragma once
#include "win32/WorkerThread.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// A dialog's worker whose work publishes items as it goes, then ends with a
// result. The dialog starts it with the work, and takes the news at each
// Dialog::OnWorkerNews.
template <class Item, class Result>
class Worker : public WorkerThread {
public:
    using Publish = std::function<void(const Item& item)>;

    struct News {
        std::vector<Item> items;  // published since the last news taken
        std::optional<Result> result;
    };

    using WorkerThread::WorkerThread;

    // work(stop, publish) runs on the worker thread: it reads stop before
    // each step, publishes each item as it comes and returns the result.
    // What it holds (the Icmp it uses, say) is freed with the block.
    template <class Work>
    bool Start(Work work) {
        return WorkerThread::Start(Shared(new Running<Work>(std::move(work))));
    }

    // Nothing when no worker is heard. With the result the worker is done.
    News TakeNews() {
        News news;
        auto* heard = static_cast<Heard*>(Shown());
        if (heard == nullptr) return news;
        {
            const CriticalSection::Lock locked(heard->lock);
            news.items.swap(heard->items);
            news.result = heard->result;
        }
        if (news.result) Forget();
        return news;
    }

private:
    struct Heard : Block {
        void Add(const Item& item) {
            const CriticalSection::Lock locked(lock);
            items.push_back(item);
            Tell();
        }
        void Finish(const Result& outcome) {
            const CriticalSection::Lock locked(lock);
            result = outcome;
            Tell();
        }

        std::vector<Item> items;       // under lock
        std::optional<Result> result;  // under lock
    };

    template <class Work>
    struct Running : Heard {
        explicit Running(Work run) : work(std::move(run)) {
            this->run = &Running::Run;
            this->destroy = [](Block* block) { delete static_cast<Running*>(block); };
        }

        static void Run(Block& block) {
            auto& self = static_cast<Running&>(block);
            self.Finish(self.work(self.stop, Publish([&self](const Item& item) { self.Add(item); })));
        }

        Work work;
    };
};
