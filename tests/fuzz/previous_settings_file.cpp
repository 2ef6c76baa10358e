// The previous-settings file: any text is either refused or read as a record
// that writes out again and reads back the same; any record the writer takes
// (names and data of any bytes, any type) reads back exactly.
#include "configurator/PreviousSettingsFile.h"
#include "tests/fuzz/FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

namespace {

constexpr const char* kSavedAt = "2003-05-04 12:34:56";

bool HasControl(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x20; });
}

// The same records, but for the spelling of a key path: the writer puts
// values of one key, spelt any way, under one section with the first spelling.
bool SameRecord(const PreviousSettings& a, const PreviousSettings& b) {
    const auto& x = a.Values();
    const auto& y = b.Values();
    if (x.size() != y.size()) return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        PreviousValue respelt = y[i];
        if (!SameRegistryName(x[i].path, respelt.path)) return false;
        respelt.path = x[i].path;
        if (!(x[i] == respelt)) return false;
    }
    return true;
}

void CheckReadsBack(const PreviousSettings& record) {
    const std::optional<std::string> text = PreviousSettingsFile::Format(record, kSavedAt);
    FUZZ_CHECK(text.has_value());
    const std::optional<PreviousSettings> again = PreviousSettingsFile::Parse(*text);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(SameRecord(record, *again));
    FUZZ_CHECK(PreviousSettingsFile::Format(*again, kSavedAt) == text);
}

PreviousSettings AnyRecord(FuzzedDataProvider& input, bool* writable) {
    PreviousSettings record;
    *writable = true;
    const int count = input.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < count; ++i) {
        PreviousValue value;
        // A few key paths, so that values share sections.
        value.path = input.ConsumeBool() ? input.PickValueInArray({"System\\CurrentControlSet\\Services\\VxD\\MSTCP",
                                                                   "SYSTEM\\CurrentControlSet\\Services\\VxD\\MSTCP",
                                                                   "Enum\\Net\\0000"})
                                         : input.ConsumeRandomLengthString(40);
        value.name = input.ConsumeRandomLengthString(20);
        value.present = input.ConsumeBool();
        if (value.present) {
            const DWORD types[] = {REG_SZ, REG_DWORD, REG_BINARY, REG_NONE};
            value.value.type = input.ConsumeBool() ? input.PickValueInArray(types) : input.ConsumeIntegral<DWORD>();
            value.value.data = input.ConsumeBytes<BYTE>(input.ConsumeIntegralInRange(0, 64));
            if (value.value.type == REG_SZ && input.ConsumeBool()) value.value.data.push_back(0);
        }
        const bool takes = !value.path.empty() && !HasControl(value.path) && !HasControl(value.name);
        if (record.AddNew(PreviousSettings({value})) == 1 && !takes) *writable = false;
    }
    return record;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    if (data[0] % 2 == 0) {
        // A file as found in the install folder.
        const std::optional<PreviousSettings> record = PreviousSettingsFile::Parse(fuzzcheck::Text(data + 1, size - 1));
        if (record) CheckReadsBack(*record);
        return 0;
    }
    FuzzedDataProvider input(data + 1, size - 1);
    bool writable = false;
    const PreviousSettings record = AnyRecord(input, &writable);
    if (!writable) {
        FUZZ_CHECK(!PreviousSettingsFile::Format(record, kSavedAt));
        return 0;
    }
    CheckReadsBack(record);
    return 0;
}
