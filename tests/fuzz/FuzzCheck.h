#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>

// A property that every input must keep. A broken one aborts, so libFuzzer
// saves the input as a finding, as it does for a sanitizer's report.
#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : fuzzcheck::Fail(#condition, __FILE__, __LINE__))

namespace fuzzcheck {

[[noreturn]] inline void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, condition);
    std::abort();
}

inline std::string Text(const unsigned char* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace fuzzcheck
