#include "common/SettingsStore.h"

#include "common/LeadingInt.h"
#include "win32/RegKey.h"

namespace {

constexpr DWORD kTransferBuffer = 1000;

bool IsBodyLetter(char c) { return c >= 'A' && c <= 'P'; }

}  // namespace

SettingsStore::SettingsStore(Registry& registry, std::string productKey)
    : registry_(&registry), productKey_(std::move(productKey)) {}

std::string SettingsStore::SectionPath(const std::string& section, bool scrambled) const {
    return productKey_ + "\\" + (scrambled ? ScrambleText(section, false) : section);
}

std::optional<std::string> SettingsStore::ReadStored(const std::string& section, const std::string& name,
                                                     bool scrambled) const {
    RegKey key(*registry_);
    if (key.Open(RegRoot::LocalMachine, SectionPath(section, scrambled), KEY_READ) != ERROR_SUCCESS) return std::nullopt;
    const std::string storedName = scrambled ? ScrambleText(name, false) : name;
    const auto text = key.QueryText(storedName, kTransferBuffer);
    if (!text) {
        // A value of another type is there all the same: the empty text, not the default.
        if (key.HasValue(storedName, kTransferBuffer)) return std::string();
        return std::nullopt;
    }
    // 1000 characters without their NUL are longer than the store keeps: no value of ours.
    if (text->size() > kMaxStoredLength) return std::nullopt;
    return text;
}

std::string SettingsStore::ReadString(const std::string& section, const std::string& name,
                                      const std::string& defaultText, bool scrambled) const {
    const auto stored = ReadStored(section, name, scrambled);
    if (!stored) return defaultText;
    return scrambled ? UnscrambleText(*stored) : *stored;
}

int SettingsStore::ReadInt(const std::string& section, const std::string& name, int defaultValue,
                           bool scrambled) const {
    const auto stored = ReadStored(section, name, scrambled);
    if (!stored) return defaultValue;
    return ReadLeadingInt(scrambled ? UnscrambleText(*stored) : *stored);
}

bool SettingsStore::Contains(const std::string& section, const std::string& name, bool scrambled) const {
    return ReadStored(section, name, scrambled).has_value();
}

bool SettingsStore::WriteString(const std::string& section, const std::string& name, const std::string& text,
                                bool scrambled) {
    // A truncated value would be a different value: refuse instead.
    if (!Fits(text, scrambled)) return false;
    const std::string stored = scrambled ? ScrambleText(text, true) : text;
    RegKey key(*registry_);
    if (key.Create(RegRoot::LocalMachine, SectionPath(section, scrambled), KEY_ALL_ACCESS) != ERROR_SUCCESS) {
        return false;
    }
    // A section that opens may still refuse the value (9x opens whatever is asked).
    return key.SetString(scrambled ? ScrambleText(name, false) : name, stored) == ERROR_SUCCESS;
}

bool SettingsStore::WriteInt(const std::string& section, const std::string& name, int value, bool scrambled) {
    return WriteString(section, name, std::to_string(value), scrambled);
}

bool SettingsStore::Fits(const std::string& text, bool scrambled) {
    if (!scrambled || text.empty()) return text.size() <= kMaxStoredLength;
    // The length prefix, two letters a byte, padded to a multiple of 23.
    const std::size_t letters = text.size() / 16 + 1 + 2 * text.size();
    return (letters + 22) / 23 * 23 <= kMaxStoredLength;
}

std::string SettingsStore::ScrambleText(const std::string& text, bool pad) {
    if (text.empty()) return std::string();
    const std::size_t n = text.size();
    std::string encoded(n / 16, 'Q');
    encoded += static_cast<char>('A' + n % 16);
    for (unsigned char byte : text) {
        encoded += static_cast<char>('A' + (byte & 0x0F));
        encoded += static_cast<char>('A' + (byte >> 4));
    }
    if (pad) {
        while (encoded.size() % 23 != 0) encoded += static_cast<char>('A' + std::rand() % 16);
    }
    return encoded;
}

std::string SettingsStore::UnscrambleText(const std::string& encoded) {
    std::size_t pos = 0;
    std::size_t quads = 0;
    while (pos < encoded.size() && encoded[pos] == 'Q') {
        ++quads;
        ++pos;
    }
    if (pos >= encoded.size() || !IsBodyLetter(encoded[pos])) return std::string();
    const std::size_t length = 16 * quads + (encoded[pos++] - 'A');
    std::string text;
    while (text.size() < length && pos + 1 < encoded.size()) {
        const char low = encoded[pos];
        const char high = encoded[pos + 1];
        if (!IsBodyLetter(low) || !IsBodyLetter(high)) break;
        text += static_cast<char>((low - 'A') + 16 * (high - 'A'));
        pos += 2;
    }
    return text;
}
