// Both adapter walks over a registry built from the fuzzer's bytes: adapter
// entries, bindings, drivers, class keys, network cards, service names and
// interfaces, with values of any type and keys that refuse rights. The walks
// only read and close every key they open; they plan only the MTU values,
// only in adapter keys that exist, with what the record holds; carried out,
// the plan reaches every interface.
#include "tests/fuzz/FuzzCheck.h"
#include "tuning/AdapterMtu.h"
#include "tuning/TuningWrite.h"
#include "win32/MemoryRegistry.h"
#include "win32/RegKey.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <map>

namespace {

constexpr RegRoot kMachine = RegRoot::LocalMachine;
const std::string kAdapters = "Enum\\Root\\Net\\";
const std::string kBindings = "Enum\\Network\\";
const std::string kClass = "System\\CurrentControlSet\\Services\\Class\\";
const std::string kCards = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\";
const std::string kServices = "SYSTEM\\CurrentControlSet\\Services\\";
const std::string kInterfaces = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";

// Forwards to the in-memory registry and records every change with the path
// of the key it went to.
class RecordingRegistry : public Registry {
public:
    struct Change {
        std::string path;
        std::string name;
        bool set;
        DWORD type;
        std::vector<BYTE> data;
    };

    explicit RecordingRegistry(MemoryRegistry& inner) : inner_(&inner) {}

    LONG OpenKey(RegRoot root, const std::string& path, REGSAM access, Key* key) override {
        FUZZ_CHECK(root == kMachine);
        const LONG result = inner_->OpenKey(root, path, access, key);
        if (result == ERROR_SUCCESS) paths_[*key] = path;
        return result;
    }
    LONG CreateKey(RegRoot, const std::string&, REGSAM, Key*) override {
        ++creates;
        return ERROR_ACCESS_DENIED;
    }
    LONG QueryValue(Key key, const std::string& name, DWORD bufferSize, RegValue* value) override {
        return inner_->QueryValue(key, name, bufferSize, value);
    }
    LONG SetValue(Key key, const std::string& name, DWORD type, const BYTE* data, DWORD size) override {
        changes.push_back({paths_.at(key), name, true, type, std::vector<BYTE>(data, data + size)});
        return inner_->SetValue(key, name, type, data, size);
    }
    LONG DeleteValue(Key key, const std::string& name) override {
        changes.push_back({paths_.at(key), name, false, REG_NONE, {}});
        return inner_->DeleteValue(key, name);
    }
    LONG EnumKey(Key key, DWORD index, std::string* name) override { return inner_->EnumKey(key, index, name); }
    void CloseKey(Key key) override {
        FUZZ_CHECK(paths_.erase(key) == 1);
        inner_->CloseKey(key);
    }

    bool AllClosed() const { return paths_.empty(); }

    std::vector<Change> changes;
    int creates = 0;

private:
    MemoryRegistry* inner_;
    std::map<Key, std::string> paths_;
};

std::string FourDigits(int number) { return (number < 10 ? "000" : "00") + std::to_string(number); }

// A path as the registry walks it: lower case, empty parts dropped.
std::vector<std::string> Parts(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path + "\\") {
        if (c != '\\') {
            part += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!part.empty()) {
            parts.push_back(part);
            part.clear();
        }
    }
    return parts;
}

bool StartsWith(const std::vector<std::string>& parts, const std::vector<std::string>& prefix) {
    return parts.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), parts.begin());
}

// A driver's own key lies below the class key, never the class key itself.
bool IsAdapterKey9x(const std::string& path) {
    const auto parts = Parts(path);
    return parts.size() > 4 && StartsWith(parts, Parts(kClass));
}

// An interface's key, or a service's Parameters\Tcpip key; service names hold no backslash.
bool IsAdapterKeyNt(const std::string& path) {
    const auto parts = Parts(path);
    if (parts.size() == 7 && StartsWith(parts, Parts(kInterfaces))) return true;
    return parts.size() == 6 && StartsWith(parts, Parts(kServices)) && parts[4] == "parameters" &&
           parts[5] == "tcpip";
}

std::vector<BYTE> Text(const std::string& text) {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

// Builds the registry from the fuzzer's bytes, mostly from names the walks
// look for, so that the pieces meet.
class Builder {
public:
    Builder(FuzzedDataProvider& input, MemoryRegistry& registry) : input_(&input), registry_(&registry) {}

    void Build() {
        for (int step = 0; step < 48 && input_->remaining_bytes() > 0; ++step) {
            switch (input_->ConsumeIntegralInRange(0, 9)) {
            case 0: Adapter(); break;
            case 1: Binding(); break;
            case 2: Put(kBindings + "MSTCP\\" + FourDigits(Number()), "Driver", Value(ClassName())); break;
            case 3: Key(kClass + ClassName(), "MaxMTU"); break;
            case 4: Put(kCards + Name({"0", "1", "2"}), "ServiceName", Value(ServiceName())); break;
            case 5: Key(kServices + ServiceName() + "\\Parameters\\Tcpip", "MTU"); break;
            case 6: Interface(); break;
            case 7: Deny(); break;
            case 8: Key(Name({kServices + "Tcpip\\Parameters", kClass + "Net", kServices + "Class"}), "MTU"); break;
            default: Key(Name({kCards.substr(0, kCards.size() - 1), kInterfaces.substr(0, kInterfaces.size() - 1)}),
                         "MTU");
            }
        }
    }

    bool denied = false;
    std::vector<std::string> interfaces;  // single names, as the walk enumerates them

private:
    int Number() { return input_->ConsumeBool() ? input_->ConsumeIntegralInRange(0, 3) : input_->ConsumeIntegralInRange(0, 99); }

    std::string Name(std::initializer_list<std::string> usual) {
        if (input_->ConsumeIntegralInRange(0, 3) == 0) return input_->ConsumeRandomLengthString(16);
        const std::size_t pick = input_->ConsumeIntegralInRange<std::size_t>(0, usual.size() - 1);
        return *(usual.begin() + pick);
    }
    std::string ClassName() { return Name({"Net\\0000", "Net\\0001", "NetTrans\\0000", "Net", "\\"}); }
    std::string ServiceName() { return Name({"E100B", "NdisWan", "Tcpip", "El90x1", "\\"}); }

    struct Data {
        DWORD type;
        std::vector<BYTE> bytes;
    };
    Data Value(const std::string& text) {
        switch (input_->ConsumeIntegralInRange(0, 7)) {
        case 0: return {REG_DWORD, DwordBytes(input_->ConsumeIntegral<DWORD>())};
        case 1: return {REG_BINARY, input_->ConsumeBytes<BYTE>(input_->ConsumeIntegralInRange(0, 1100))};
        case 2: return {REG_SZ, std::vector<BYTE>(text.begin(), text.end())};  // no NUL at the end
        default: return {REG_SZ, Text(text)};
        }
    }

    void Put(const std::string& path, const std::string& name, const Data& value) {
        registry_->Put(kMachine, path, name, value.type, value.bytes);
        paths_.push_back(path);
    }
    // A key, sometimes holding its MTU value already.
    void Key(const std::string& path, const std::string& mtuName) {
        registry_->AddKey(kMachine, path);
        paths_.push_back(path);
        if (input_->ConsumeBool()) Put(path, mtuName, Value("1500"));
    }
    void Adapter() {
        const std::string path = kAdapters + FourDigits(Number());
        registry_->AddKey(kMachine, path);
        paths_.push_back(path);
        if (input_->ConsumeIntegralInRange(0, 3) != 0) Put(path, "DeviceDesc", Value("Dial-Up Adapter"));
    }
    void Binding() {
        const std::string name = input_->ConsumeIntegralInRange(0, 7) != 0 ? "MSTCP\\" + FourDigits(Number())
                                                                           : input_->ConsumeRandomLengthString(12);
        Put(kAdapters + FourDigits(Number()) + "\\Bindings", name, Value(""));
    }
    void Interface() {
        const std::string name = Name({"{4D36E972-E325}", "{A}", "NdisWan4"});
        Key(kInterfaces + name, "MTU");
        if (!name.empty() && name.find('\\') == std::string::npos) interfaces.push_back(name);
    }
    void Deny() {
        if (paths_.empty()) return;
        const REGSAM rights[] = {KEY_QUERY_VALUE, KEY_SET_VALUE, KEY_ENUMERATE_SUB_KEYS, KEY_ALL_ACCESS};
        const std::string& path = paths_[input_->ConsumeIntegralInRange<std::size_t>(0, paths_.size() - 1)];
        registry_->DenyAccess(kMachine, path, input_->PickValueInArray(rights));
        denied = true;
    }

    FuzzedDataProvider* input_;
    MemoryRegistry* registry_;
    std::vector<std::string> paths_;
};

void CheckPlan(const RecordingRegistry& recorder, const MemoryRegistry& registry, const TuningPlan& plan, bool nt,
               bool write, const TuningConfig& config) {
    FUZZ_CHECK(recorder.creates == 0);
    FUZZ_CHECK(recorder.changes.empty());
    FUZZ_CHECK(recorder.AllClosed());
    for (const TuningWrite& planned : plan) {
        FUZZ_CHECK(planned.remove != write);
        FUZZ_CHECK(registry.HasKey(kMachine, planned.path));
        if (nt) {
            FUZZ_CHECK(IsAdapterKeyNt(planned.path));
            FUZZ_CHECK(planned.name == "MTU");
            if (write) FUZZ_CHECK(planned.type == REG_DWORD && planned.data == DwordBytes(config.mtu));
        } else {
            FUZZ_CHECK(IsAdapterKey9x(planned.path));
            FUZZ_CHECK(planned.name == "MaxMTU" || planned.name == "MaxMSS");
            const std::string& text = planned.name == "MaxMTU" ? config.mtuText : config.mssText;
            if (write) FUZZ_CHECK(planned.type == REG_SZ && planned.data == Text(text));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    TuningConfig config;
    config.mtuText = input.ConsumeBool() ? "0" : input.ConsumeRandomLengthString(8);
    config.mssText = input.ConsumeRandomLengthString(8);
    config.mtu = input.ConsumeBool() ? 0 : input.ConsumeIntegral<DWORD>();
    const std::string action = input.ConsumeBool() ? kRemoveAction : input.ConsumeRandomLengthString(8);
    const bool windows9x = input.ConsumeBool();

    MemoryRegistry registry;
    registry.IgnoreAccessMasks(windows9x);
    Builder builder(input, registry);
    builder.Build();

    RecordingRegistry nineX(registry);
    TuningPlan plan9x;
    AdapterMtu(nineX, config).SetAdapterMtu9x(action, plan9x);
    // No text, as "0", is the Windows default there.
    const bool write9x = !IsRemoveAction(action) && !config.mtuText.empty() && config.mtuText != "0";
    CheckPlan(nineX, registry, plan9x, false, write9x, config);

    RecordingRegistry nt(registry);
    TuningPlan planNt;
    AdapterMtu(nt, config).SetAdapterMtuNt(action, planNt);
    const bool writeNt = !IsRemoveAction(action) && config.mtu != 0;
    CheckPlan(nt, registry, planNt, true, writeNt, config);

    // Carried out, the plans change only what they name; nothing refused, nothing fails.
    RecordingRegistry executed(registry);
    const int failures = ExecutePlan(executed, plan9x).refused + ExecutePlan(executed, planNt).refused;
    FUZZ_CHECK(executed.creates == 0);
    FUZZ_CHECK(executed.AllClosed());
    for (const auto& change : executed.changes) {
        const auto named = [&](const TuningWrite& planned) {
            return planned.path == change.path && planned.name == change.name && planned.remove == !change.set;
        };
        FUZZ_CHECK(std::any_of(plan9x.begin(), plan9x.end(), named) || std::any_of(planNt.begin(), planNt.end(), named));
    }
    FUZZ_CHECK(registry.OpenKeyCount() == 0);
    if (!builder.denied) FUZZ_CHECK(failures == 0);

    // With nothing refused, every interface is reached.
    if (builder.denied) return 0;
    for (const std::string& name : builder.interfaces) {
        const auto mtu = registry.Value(kMachine, kInterfaces + name, "MTU");
        if (writeNt) {
            FUZZ_CHECK(mtu && mtu->type == REG_DWORD && mtu->data == DwordBytes(config.mtu));
        } else {
            FUZZ_CHECK(!mtu);
        }
    }
    return 0;
}
