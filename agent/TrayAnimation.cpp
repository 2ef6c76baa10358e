#include "agent/TrayAnimation.h"

void TrayAnimation::Start(DWORD nowMs, int durationSeconds) {
    current_ = 0;
    startMs_ = nowMs;
    durationSeconds_ = durationSeconds;
}

bool TrayAnimation::Expired(DWORD nowMs) const {
    const DWORD elapsedSeconds = (nowMs - startMs_) / 1000;
    return durationSeconds_ > 0 && elapsedSeconds > static_cast<DWORD>(durationSeconds_);
}

bool TrayAnimation::Advance(Picture* picture) {
    if (frames_.empty()) return false;
    current_ = (current_ + 1) % frames_.size();
    *picture = frames_[current_];
    return true;
}
