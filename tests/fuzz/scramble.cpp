// The store's letter encoding: any text round-trips, and any letters decode
// safely to no more than their pairs hold.
#include "common/SettingsStore.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstdint>

namespace {

constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQ";

std::size_t LeadingQs(const std::string& text) {
    const std::size_t first = text.find_first_not_of('Q');
    return first == std::string::npos ? text.size() : first;
}

void CheckEncoding(const std::string& plain, bool pad) {
    const std::string encoded = SettingsStore::ScrambleText(plain, pad);
    FUZZ_CHECK(SettingsStore::UnscrambleText(encoded) == plain);
    if (plain.empty()) {
        FUZZ_CHECK(encoded.empty());
        return;
    }
    FUZZ_CHECK(encoded.find_first_not_of(kAlphabet) == std::string::npos);
    // "Q" only in the length prefix.
    const std::size_t quads = LeadingQs(encoded);
    FUZZ_CHECK(quads == plain.size() / 16);
    FUZZ_CHECK(encoded.find('Q', quads) == std::string::npos);
    const std::size_t bare = quads + 1 + 2 * plain.size();
    if (pad) {
        FUZZ_CHECK(encoded.size() % 23 == 0);
        FUZZ_CHECK(encoded.size() >= bare && encoded.size() < bare + 23);
    } else {
        FUZZ_CHECK(encoded.size() == bare);
    }
}

void CheckDecoding(const std::string& encoded) {
    const std::string plain = SettingsStore::UnscrambleText(encoded);
    FUZZ_CHECK(plain.size() <= encoded.size() / 2);
    // What decodes stays decoded when more letters follow.
    FUZZ_CHECK(SettingsStore::UnscrambleText(encoded + "AB").compare(0, plain.size(), plain) == 0);
    if (plain.empty()) return;
    // The decoded bytes encode back to the very letters they came from.
    const std::string again = SettingsStore::ScrambleText(plain, false);
    const std::size_t body = LeadingQs(encoded) + 1;
    const std::size_t againBody = LeadingQs(again) + 1;
    FUZZ_CHECK(encoded.compare(body, 2 * plain.size(), again, againBody, 2 * plain.size()) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzzcheck::Text(data, size);
    CheckEncoding(bytes, false);
    CheckEncoding(bytes, true);
    CheckDecoding(bytes);
    return 0;
}
