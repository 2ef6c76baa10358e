// One ping against any answer (Content-Length text, body, failures) and any
// "EnableAutodial" (any type and bytes, missing, in a key that refuses
// rights): the read stays within bounds, every handle is closed once, and
// the autodial value and everything else come out exactly as they went in.
#include "common/CActivityPinger.h"
#include "tests/fuzz/FuzzCheck.h"
#include "win32/MemoryRegistry.h"
#include "win32/RegKey.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <set>

namespace {

constexpr RegRoot kUser = RegRoot::CurrentUser;
constexpr const char* kAutodial = "EnableAutodial";

// WinINet answering from the fuzzer's bytes, checking how it is used.
class ScriptedInternet : public Internet {
public:
    explicit ScriptedInternet(FuzzedDataProvider& input) : input_(&input) {}

    Handle OpenSession(const std::string&) override { return Open(sessionWorks); }
    Handle OpenUrl(Handle session, const std::string&, DWORD) override {
        FUZZ_CHECK(session == 0 || open_.count(session) == 1);
        if (whileRequesting) whileRequesting();
        return Open(session != 0 && urlWorks);
    }
    bool QueryContentLength(Handle request, std::string* text) override {
        FUZZ_CHECK(open_.count(request) == 1);
        if (!contentLength) return false;
        *text = *contentLength;
        return true;
    }
    bool QueryStatus(Handle request, DWORD*, std::string*) override {
        FUZZ_CHECK(open_.count(request) == 1);
        return false;
    }
    void SetReceiveTimeout(Handle, DWORD) override {}
    bool Read(Handle request, char* buffer, DWORD size, DWORD* read) override {
        FUZZ_CHECK(open_.count(request) == 1);
        reads.push_back(size);
        // The whole buffer must be the caller's: the sanitizer sees every byte written.
        std::fill(buffer, buffer + size, 'x');
        const bool works = input_->ConsumeBool();
        *read = works ? input_->ConsumeIntegralInRange<DWORD>(0, size) : 0;
        return works;
    }
    void Close(Handle handle) override {
        if (handle == 0) return;
        FUZZ_CHECK(open_.erase(handle) == 1);
    }
    DWORD LastError() override { return 12029; }
    std::string ErrorText(DWORD) override { return {}; }

    bool AllClosed() const { return open_.empty(); }

    bool sessionWorks = true;
    bool urlWorks = true;
    std::optional<std::string> contentLength;
    std::function<void()> whileRequesting;
    std::vector<DWORD> reads;

private:
    Handle Open(bool works) {
        if (!works) return 0;
        open_.insert(next_);
        return next_++;
    }

    FuzzedDataProvider* input_;
    std::set<Handle> open_;
    Handle next_ = 0x100;
};

std::optional<RegValue> Autodial(const MemoryRegistry& registry) {
    return registry.Value(kUser, CActivityPinger::kInternetSettingsKey, kAutodial);
}

bool Same(const std::optional<RegValue>& a, const std::optional<RegValue>& b) {
    if (!a || !b) return !a && !b;
    return a->type == b->type && a->data == b->data;
}

// Every value, but the marker that a ping may clear.
std::string WithoutMarker(MemoryRegistry& registry) {
    const auto marker = registry.Value(kUser, CActivityPinger::kMarkerKey, CActivityPinger::kMarkerName);
    RegKey key(registry);
    if (marker && key.Open(kUser, CActivityPinger::kMarkerKey, KEY_SET_VALUE) == ERROR_SUCCESS) {
        key.Delete(CActivityPinger::kMarkerName);
    }
    const std::string dump = registry.Dump(RegRoot::CurrentUser) + registry.Dump(RegRoot::LocalMachine);
    if (marker) registry.Put(kUser, CActivityPinger::kMarkerKey, CActivityPinger::kMarkerName, marker->type, marker->data);
    return dump;
}

bool IsDwordOn(const std::optional<RegValue>& value) {
    return value && value->type == REG_DWORD && value->data.size() == 4 &&
           std::any_of(value->data.begin(), value->data.end(), [](BYTE b) { return b != 0; });
}

std::vector<BYTE> AnyData(FuzzedDataProvider& input) {
    if (input.ConsumeBool()) {
        return DwordBytes(input.ConsumeBool() ? 1 : input.ConsumeIntegral<DWORD>());
    }
    return input.ConsumeBytes<BYTE>(input.ConsumeIntegralInRange<std::size_t>(0, 700));
}

DWORD AnyType(FuzzedDataProvider& input) {
    const DWORD types[] = {REG_DWORD, REG_SZ, REG_BINARY, REG_NONE, 11 /* REG_QWORD */};
    return input.PickValueInArray(types);
}

void CheckBodyRead(const std::optional<std::string>& contentLength, const std::vector<DWORD>& reads) {
    FUZZ_CHECK(reads.size() <= 1);
    if (reads.empty()) return;
    // Only a positive decimal number is read, and never more than the cap.
    FUZZ_CHECK(contentLength.has_value());
    const std::string& text = *contentLength;
    const std::size_t first = text.find_first_not_of(" \t\r\n\v\f");
    const std::size_t last = text.find_last_not_of(" \t\r\n\v\f");
    FUZZ_CHECK(first != std::string::npos);
    const std::string digits = text.substr(first, last - first + 1);
    FUZZ_CHECK(std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }));
    const DWORD size = reads[0];
    FUZZ_CHECK(size > 0 && size <= CActivityPinger::kMaxBodyBytes);
    const std::string significant = digits.substr(std::min(digits.find_first_not_of('0'), digits.size()));
    if (size < CActivityPinger::kMaxBodyBytes) FUZZ_CHECK(significant == std::to_string(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    MemoryRegistry registry;
    const std::string settings = CActivityPinger::kInternetSettingsKey;
    if (input.ConsumeBool()) {
        registry.AddKey(kUser, settings);
        if (input.ConsumeBool()) registry.Put(kUser, settings, kAutodial, AnyType(input), AnyData(input));
        if (input.ConsumeBool()) registry.PutString(kUser, settings, "ProxyServer", "127.0.0.1:8080");
        const REGSAM refused[] = {0, KEY_QUERY_VALUE, KEY_SET_VALUE};
        registry.DenyAccess(kUser, settings, input.PickValueInArray(refused));
    }
    if (input.ConsumeBool()) {
        registry.Put(kUser, CActivityPinger::kMarkerKey, CActivityPinger::kMarkerName, AnyType(input),
                     AnyData(input));
    }

    ScriptedInternet internet(input);
    internet.sessionWorks = input.ConsumeIntegralInRange(0, 7) != 0;
    internet.urlWorks = input.ConsumeIntegralInRange(0, 7) != 0;
    if (input.ConsumeIntegralInRange(0, 7) != 0) internet.contentLength = input.ConsumeRandomLengthString(31);

    const auto autodialBefore = Autodial(registry);
    const std::string othersBefore = WithoutMarker(registry);
    // A value of another shape, or one the key won't let us read and write, is left alone.
    RegKey probe(registry);
    const bool switchable = IsDwordOn(autodialBefore) &&
                            probe.Open(kUser, settings, KEY_READ | KEY_SET_VALUE) == ERROR_SUCCESS;
    probe.Close();
    bool checkedDuring = false;
    internet.whileRequesting = [&] {
        checkedDuring = true;
        if (switchable) {
            FUZZ_CHECK(Same(Autodial(registry), RegValue{REG_DWORD, DwordBytes(0)}));
        } else {
            FUZZ_CHECK(Same(Autodial(registry), autodialBefore));
        }
    };

    bool online = false;
    {
        CActivityPinger pinger(registry, internet);
        online = pinger.Ping(CActivityPinger::kDefaultAddress);
    }
    FUZZ_CHECK(online == (internet.sessionWorks && internet.urlWorks));
    FUZZ_CHECK(checkedDuring);
    FUZZ_CHECK(internet.AllClosed());
    FUZZ_CHECK(registry.OpenKeyCount() == 0);
    CheckBodyRead(internet.contentLength, internet.reads);
    FUZZ_CHECK(online || internet.reads.empty());
    FUZZ_CHECK(Same(Autodial(registry), autodialBefore));
    FUZZ_CHECK(WithoutMarker(registry) == othersBefore);
    if (switchable) FUZZ_CHECK(!registry.Value(kUser, CActivityPinger::kMarkerKey, CActivityPinger::kMarkerName));

    // The next start puts back what a marker of any shape holds, only when it is a number.
    const auto marker = registry.Value(kUser, CActivityPinger::kMarkerKey, CActivityPinger::kMarkerName);
    RegKey settingsKey(registry);
    const bool settable = settingsKey.Open(kUser, settings, KEY_SET_VALUE) == ERROR_SUCCESS;
    settingsKey.Close();
    const bool restorable = marker && marker->type == REG_DWORD && marker->data.size() == 4 && settable;
    CActivityPinger::RestoreAutodial(registry);
    FUZZ_CHECK(registry.OpenKeyCount() == 0);
    if (restorable) {
        FUZZ_CHECK(Same(Autodial(registry), marker));
        FUZZ_CHECK(!registry.Value(kUser, CActivityPinger::kMarkerKey, CActivityPinger::kMarkerName));
    } else {
        FUZZ_CHECK(Same(Autodial(registry), autodialBefore));
    }
    return 0;
}
