#pragma once
#include "configurator/ConfiguratorFiles.h"
#include "tuning/PreviousSettings.h"

#include <optional>
#include <string>

// The previous-settings record as a REGEDIT4 file, so that a person can read
// it and import it with regedit (the "=-" deletions need the NT family's
// regedit). Texts are kept byte for byte in the ANSI code page. The program
// reads back only what it writes itself: anything else is refused whole.
class PreviousSettingsFile {
public:
    static constexpr const char* kFileName = "Zartune-previous.reg";

    enum class LoadResult {
        Loaded,
        Missing,
        Refused,  // unreadable, damaged or edited: nothing was taken from it
    };

    PreviousSettingsFile(ConfiguratorFiles& files, std::string path) : files_(&files), path_(std::move(path)) {}

    // Empty when a key path, a value name or the time holds a control
    // character, which the format cannot carry.
    static std::optional<std::string> Format(const PreviousSettings& record, const std::string& savedAt);
    static std::optional<PreviousSettings> Parse(const std::string& text);

    // Where the file is missing but a save stopped between its two renames,
    // its stepped-aside copy (see MoveIntoPlace) stands for it.
    bool Exists() const;
    LoadResult Load(PreviousSettings* record) const;
    // Writes beside the file first, so that a failed write keeps the old one;
    // a read-only file is kept as it is (see MoveIntoPlace).
    bool Save(const PreviousSettings& record, const std::string& savedAt) const;
    // False when the file or its stepped-aside copy stays.
    bool Remove() const;

private:
    ConfiguratorFiles* files_;
    std::string path_;
};
