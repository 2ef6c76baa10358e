#pragma once
#include "win32/Registry.h"

#include <optional>
#include <string>

// The product's settings under HKEY_LOCAL_MACHINE: sections are subkeys of
// the product key, every value is a REG_SZ text, integers are decimal text.
// Each call chooses the plain or the scrambled form; a reader must use the
// form its writer used. Nothing is cached: every call opens and closes its key.
class SettingsStore {
public:
    static constexpr const char* kProductKey = "SOFTWARE\\Orvenda Ltd\\Zarvo";
    // The stored text, encoded where scrambled, holds at most this many characters.
    static constexpr std::size_t kMaxStoredLength = 999;

    explicit SettingsStore(Registry& registry, std::string productKey = kProductKey);

    // The default when the section or value can't be read or is too long;
    // the empty text when the value is not REG_SZ.
    std::string ReadString(const std::string& section, const std::string& name, const std::string& defaultText,
                           bool scrambled) const;
    // The stored text read as atoi reads it; the default only when the value can't be read.
    int ReadInt(const std::string& section, const std::string& name, int defaultValue, bool scrambled) const;
    // False, with nothing written, when the section can't be created or opened,
    // when the value is refused, or when the stored form would be longer than
    // kMaxStoredLength.
    bool WriteString(const std::string& section, const std::string& name, const std::string& text, bool scrambled);
    bool WriteInt(const std::string& section, const std::string& name, int value, bool scrambled);
    // True when the value can be read, whatever its type: the reads would not
    // give their default.
    bool Contains(const std::string& section, const std::string& name, bool scrambled) const;

    // Whether WriteString would take the text: its stored form, encoded where
    // scrambled, holds at most kMaxStoredLength characters.
    static bool Fits(const std::string& text, bool scrambled);
    static std::string ScrambleText(const std::string& text, bool pad);
    // Decodes what it can; damaged input never reads out of bounds.
    static std::string UnscrambleText(const std::string& encoded);

private:
    std::string SectionPath(const std::string& section, bool scrambled) const;
    // The stored text (still encoded), or nothing when it can't be read.
    std::optional<std::string> ReadStored(const std::string& section, const std::string& name, bool scrambled) const;

    Registry* registry_;
    std::string productKey_;
};
