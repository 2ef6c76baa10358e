#pragma once
#include <cstdint>
#include <optional>

// The receive window a line needs: enough whole segments to hold what the
// line carries in one round trip (its bandwidth-delay product), at least
// four of them.
//
// TCP's window field has 16 bits, so a window above 65535 bytes needs RFC
// 1323 window scaling, which shifts it by up to 14 bits: 2^30 - 1 bytes at
// most (RFC 1323, 2.2 and 2.3). Above 65535 the window is the largest
// unscaled multiple of the MSS doubled until it holds the product: always a
// multiple of the MSS, and of what fits unscaled. A product that not even
// 2^30 - 1 bytes hold gets the largest doubling below that bound (a shift
// of 14, whatever the MSS). Where Windows does not scale, 65535 is the end.
struct LineWindow {
    static constexpr std::uint32_t kLargestUnscaled = 65535;
    static constexpr std::uint32_t kLargestScaled = (1u << 30) - 1;
    static constexpr std::uint32_t kFewestSegments = 4;

    // Bytes, rounded up: a window holds a product exactly when it holds
    // this many whole bytes.
    std::uint64_t bdp = 0;
    // Bytes, multiplier x mss; 0 when the MSS leaves no window (below 1 or
    // above 65535 bytes).
    std::uint32_t window = 0;
    std::uint32_t multiplier = 0;
    int mss = 0;
    bool scaled = false;   // above 65535: window scaling must be on
    bool limited = false;  // this Windows cannot scale, and the window is short of the product

    // latency in milliseconds, speed in kbit/s, mss in bytes; scalesWindows
    // as ScalesWindows (tuning/OsName.h) tells for the running Windows.
    static LineWindow For(std::uint32_t latency, std::uint32_t speed, int mss, bool scalesWindows);

    // Bytes: the largest whole number of mss-byte segments that fits an
    // unscaled window; 65535 itself when the MSS makes no segment.
    static std::uint32_t LargestUnscaled(std::int64_t mss);
    // Bytes: multiplier segments of mss bytes; none when either is negative
    // or the window would exceed 2^30 - 1 bytes. Nothing wraps.
    static std::optional<std::uint32_t> WindowOf(std::int64_t multiplier, std::int64_t mss);
};
