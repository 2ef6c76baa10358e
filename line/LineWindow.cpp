#include "line/LineWindow.h"

#include <algorithm>

LineWindow LineWindow::For(std::uint32_t latency, std::uint32_t speed, int mss, bool scalesWindows) {
    LineWindow line;
    line.mss = mss;
    // kbit/s times ms is bits.
    line.bdp = (std::uint64_t{speed} * latency + 7) / 8;
    if (mss < 1 || static_cast<std::uint32_t>(mss) > kLargestUnscaled) return line;
    const std::uint64_t segment = static_cast<std::uint32_t>(mss);

    const std::uint64_t segments = std::max<std::uint64_t>(kFewestSegments, (line.bdp + segment - 1) / segment);
    if (segments * segment <= kLargestUnscaled) {
        line.multiplier = static_cast<std::uint32_t>(segments);
    } else {
        line.multiplier = LargestUnscaled(mss) / static_cast<std::uint32_t>(segment);
        if (scalesWindows) {
            // One doubling at least, however little more the product needs.
            do {
                line.multiplier *= 2;
            } while (line.multiplier * segment < line.bdp && line.multiplier * 2 * segment <= kLargestScaled);
        }
    }
    line.window = static_cast<std::uint32_t>(line.multiplier * segment);
    line.scaled = line.window > kLargestUnscaled;
    line.limited = !scalesWindows && line.bdp > line.window;
    return line;
}

std::uint32_t LineWindow::LargestUnscaled(std::int64_t mss) {
    if (mss < 1 || mss > kLargestUnscaled) return kLargestUnscaled;
    const auto segment = static_cast<std::uint32_t>(mss);
    return kLargestUnscaled / segment * segment;
}

std::optional<std::uint32_t> LineWindow::WindowOf(std::int64_t multiplier, std::int64_t mss) {
    if (multiplier < 0 || mss < 0) return std::nullopt;
    if (multiplier == 0 || mss == 0) return 0;
    // Both at most 2^30 - 1 here, so 32-bit division tells whether the product fits.
    if (multiplier > kLargestScaled || mss > kLargestScaled ||
        static_cast<std::uint32_t>(multiplier) > kLargestScaled / static_cast<std::uint32_t>(mss)) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(multiplier) * static_cast<std::uint32_t>(mss);
}
