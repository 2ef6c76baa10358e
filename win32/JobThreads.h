#pragma once
#include <functional>
#include <vector>

// Jobs run at once, one thread each, for portable code that may not make
// threads itself (WindowMeasurement::RunTogether).
class JobThreads {
public:
    // Returns once every job has ended. The threads are made, waited for and
    // closed here, on the caller's thread; a job whose thread cannot be made
    // runs here too, once the others have started.
    static void RunTogether(const std::vector<std::function<void()>>& jobs);
};
