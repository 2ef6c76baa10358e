// Any command line, as either program gets it: the switch word, the
// configurator's choice of what to open, and the agent's autostart entry.
#include "agent/AgentStartup.h"
#include "common/ProductInfo.h"
#include "configurator/ConfiguratorStartup.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/FakeDesktop.h"
#include "win32/MemoryRegistry.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr RegRoot kMachine = RegRoot::LocalMachine;
constexpr const char* kFolder = "C:\\Program Files\\Zarvo\\";
const char* const kRunKeys[] = {"SOFTWARE\\MICROSOFT\\WINDOWS\\CurrentVersion\\Run",
                                "SOFTWARE\\MICROSOFT\\WINDOWS\\CurrentVersion\\RunServices"};

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::size_t NonSpaces(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !IsSpace(c); }));
}

void Prepare(MemoryRegistry& registry) {
    registry.PutString(kMachine, std::string(SettingsStore::kProductKey) + "\\Install", "Folder", kFolder);
    for (const char* key : kRunKeys) registry.AddKey(kMachine, key);
}

std::string WordOf(const std::string& commandLine) {
    MemoryRegistry registry;
    FakeDesktop desktop;
    desktop.commandLine = commandLine;
    return ProductInfo(registry, desktop).SwitchWord();
}

void CheckSwitchWord(const std::string& line, const std::string& word) {
    const std::size_t slash = line.find('/');
    if (slash == std::string::npos) {
        FUZZ_CHECK(word.empty());
        return;
    }
    FUZZ_CHECK(word.find('"') == std::string::npos);
    FUZZ_CHECK(std::none_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
    FUZZ_CHECK(word.empty() || (!IsSpace(word.front()) && !IsSpace(word.back())));
    // Everything after the slash is kept but the quotes and the outer blanks.
    std::string rest = line.substr(slash + 1);
    std::transform(rest.begin(), rest.end(), rest.begin(),
                   [](unsigned char c) { return c == '"' ? ' ' : static_cast<char>(std::tolower(c)); });
    FUZZ_CHECK(rest.find(word) != std::string::npos);
    FUZZ_CHECK(NonSpaces(rest) == NonSpaces(word));
    // The program path in front never changes the word, as long as it holds no slash.
    FUZZ_CHECK(WordOf("\"C:\\Program Files\\Zarvo\\zartune.exe\" " + line) == word);
}

void CheckConfiguratorStart(const std::string& line, const std::string& word) {
    MemoryRegistry registry;
    Prepare(registry);
    FakeDesktop desktop;
    desktop.commandLine = line;
    desktop.SetVersion(VER_PLATFORM_WIN32_NT, 5, 1);
    ProductInfo product(registry, desktop);
    ConfiguratorStartup startup(registry, desktop, product);
    const StartupOutcome outcome = startup.Run();
    FUZZ_CHECK(desktop.messageBoxes.empty());
    FUZZ_CHECK(startup.Switches().logPath.find('"') == std::string::npos);
    const bool apply = word.substr(0, word.find_first_of(" \t")) == "apply";
    if (word == "uninstall") {
        FUZZ_CHECK(outcome == StartupOutcome::End);
        FUZZ_CHECK(desktop.shellCalls.empty());
        return;
    }
    if (outcome == StartupOutcome::UnknownApplySwitch) {
        // Only after "/apply", and it does nothing at all.
        FUZZ_CHECK(apply && desktop.shellCalls.empty() && registry.WriteCount() == 0);
        return;
    }
    // Every other start launches the agent, once, and opens what its word names.
    FUZZ_CHECK(desktop.shellCalls.size() == 1);
    FUZZ_CHECK(desktop.shellCalls[0].file == std::string(kFolder) + "zarwatch.exe");
    FUZZ_CHECK(desktop.shellCalls[0].parameters == "/auto");
    FUZZ_CHECK(registry.WriteCount() == 0);
    StartupOutcome expected = StartupOutcome::OpenMainWindow;
    if (word == "about") expected = StartupOutcome::ShowAbout;
    if (word == "ping") expected = StartupOutcome::ShowKeepAlive;
    if (word == "detect") expected = StartupOutcome::OpenMainWindowHidden;
    if (apply) expected = StartupOutcome::ApplyUnattended;
    FUZZ_CHECK(outcome == expected);
}

void CheckAgentStart(const std::string& line, const std::string& word, bool secondCopy) {
    MemoryRegistry registry;
    Prepare(registry);
    FakeDesktop desktop;
    desktop.commandLine = line;
    desktop.modulePath = "C:\\Program Files\\Zarvo\\ZARWATCH.EXE";
    if (secondCopy) desktop.windowTitles.insert(kAgentWindowTitle);
    ProductInfo product(registry, desktop);
    const bool goesOn = PrepareAgentStart(product, registry, desktop);
    FUZZ_CHECK(goesOn == !secondCopy);
    if (secondCopy) {
        FUZZ_CHECK(desktop.messageBoxes.size() == (word == "auto" ? 0u : 1u));
        FUZZ_CHECK(registry.WriteCount() == 0);
        return;
    }
    FUZZ_CHECK(desktop.messageBoxes.empty());
    // Exactly the two "Detect" entries: a quoted path without quotes of its own, then the switch.
    FUZZ_CHECK(registry.WriteCount() == 2);
    for (const char* key : kRunKeys) {
        const auto value = registry.Value(kMachine, key, "Detect");
        FUZZ_CHECK(value && value->type == REG_SZ && !value->data.empty() && value->data.back() == 0);
        const std::string entry(value->data.begin(), value->data.end() - 1);
        FUZZ_CHECK(entry.size() >= 8 && entry.front() == '"');
        FUZZ_CHECK(entry.compare(entry.size() - 7, 7, "\" /auto") == 0);
        FUZZ_CHECK(std::count(entry.begin(), entry.end(), '"') == 2);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the agent's case; a command line never holds a NUL.
    const bool secondCopy = (data[0] & 1) != 0;
    std::string line = fuzzcheck::Text(data + 1, size - 1);
    line = line.substr(0, line.find('\0'));
    const std::string word = WordOf(line);
    CheckSwitchWord(line, word);
    CheckConfiguratorStart(line, word);
    CheckAgentStart(line, word, secondCopy);
    return 0;
}
