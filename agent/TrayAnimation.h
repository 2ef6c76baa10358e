#pragma once
#include "win32/WinTypes.h"

#include <cstdint>
#include <vector>

// The tray icon's frame animation as plain data: which picture comes next
// and when the animation has run its course. Times are tick counts in
// milliseconds, so a change of the clock can't stretch or cut an animation.
class TrayAnimation {
public:
    using Picture = std::uintptr_t;  // an HICON; 0 when its resource was missing

    // Fills the list with load(id) for id = first..last. When first > last,
    // fails and keeps the previous list.
    template <class Loader>
    bool LoadFrames(UINT first, UINT last, Loader load) {
        if (first > last) return false;
        frames_.clear();
        frames_.reserve(last - first + 1);
        for (UINT id = first; id <= last; ++id) frames_.push_back(load(id));
        return true;
    }

    // A duration of 0 seconds or less never expires.
    void Start(DWORD nowMs, int durationSeconds);
    // On a tick: whether the duration has run out (more than that many whole seconds).
    bool Expired(DWORD nowMs) const;
    // Advances to the next frame, wrapping; false when there are no frames.
    bool Advance(Picture* picture);

    const std::vector<Picture>& Frames() const { return frames_; }

private:
    std::vector<Picture> frames_;
    std::size_t current_ = 0;
    DWORD startMs_ = 0;
    int durationSeconds_ = 0;
};
