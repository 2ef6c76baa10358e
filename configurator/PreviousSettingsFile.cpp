#include "configurator/PreviousSettingsFile.h"

#include "common/MoveIntoPlace.h"
#include "common/NumberText.h"
#include "common/ProductInfo.h"

#include <algorithm>
#include <cctype>

namespace {

const char kEol[] = "\r\n";
const char kHeader[] = "REGEDIT4\r\n";
const char kSection[] = "[HKEY_LOCAL_MACHINE\\";
// Hex data wraps as regedit's own export does: continued lines start with
// two blanks, and no line runs past 80 columns.
const std::size_t kHexWrapColumn = 76;

std::string CommentStart() {
    return std::string("; ") + ProductInfo::kProductName + " settings before the first Apply: ";
}
const char kCommentMiddle[] = " values, saved ";

bool HasControl(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](unsigned char c) { return c < 0x20; });
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + '"';
}

// A REG_SZ goes out as text only when that gives back the same bytes: the
// text, one terminating NUL, and nothing regedit would read differently.
bool IsPlainText(const RegValue& value) {
    const auto& data = value.data;
    return value.type == REG_SZ && !data.empty() && data.back() == 0 &&
           std::none_of(data.begin(), data.end() - 1, [](BYTE b) { return b < 0x20; });
}

std::string HexData(const std::string& prefix, const std::vector<BYTE>& data) {
    std::string out = prefix;
    std::size_t column = prefix.size();
    for (std::size_t i = 0; i < data.size(); ++i) {
        out += HexNumber(data[i], 2);
        column += 2;
        if (i + 1 == data.size()) break;
        out += ',';
        ++column;
        if (column >= kHexWrapColumn) {
            out += "\\\r\n  ";
            column = 2;
        }
    }
    return out;
}

std::string ValueLine(const PreviousValue& entry) {
    std::string line = entry.name.empty() ? "@=" : Quoted(entry.name) + "=";
    if (!entry.present) return line + "-";
    const RegValue& value = entry.value;
    if (IsPlainText(value)) {
        return line + Quoted(std::string(value.data.begin(), value.data.end() - 1));
    }
    if (const std::optional<DWORD> number = DwordOf(value)) return line + "dword:" + HexNumber(*number, 8);
    const std::string type = value.type == REG_BINARY ? "hex:" : "hex(" + HexNumber(value.type, 1) + "):";
    return HexData(line + type, value.data);
}

// Reads the subset ValueLine writes; every Take and Read fails on anything else.
class Reader {
public:
    explicit Reader(const std::string& text) : text_(text) {}

    bool AtEnd() const { return pos_ == text_.size(); }
    bool Peek(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
    bool Take(const std::string& literal) {
        if (text_.compare(pos_, literal.size(), literal) != 0) return false;
        pos_ += literal.size();
        return true;
    }
    // The rest of the line, without its CR LF; no control characters in it.
    bool RestOfLine(std::string* line) {
        const std::size_t end = text_.find(kEol, pos_);
        if (end == std::string::npos) return false;
        *line = text_.substr(pos_, end - pos_);
        pos_ = end + 2;
        return !HasControl(*line);
    }
    bool Number(std::size_t* number) {
        const std::size_t start = pos_;
        *number = 0;
        while (pos_ < text_.size() && pos_ - start < 9 && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
            *number = *number * 10 + (text_[pos_++] - '0');
        }
        return pos_ > start;
    }
    // 1 to maxDigits hex digits, or exactly that many when exact.
    bool Hex(int maxDigits, bool exact, DWORD* number) {
        const std::size_t start = pos_;
        *number = 0;
        while (pos_ < text_.size() && static_cast<int>(pos_ - start) < maxDigits &&
               std::isxdigit(static_cast<unsigned char>(text_[pos_]))) {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text_[pos_++])));
            *number = (*number << 4) | static_cast<DWORD>(c <= '9' ? c - '0' : c - 'a' + 10);
        }
        const int digits = static_cast<int>(pos_ - start);
        return exact ? digits == maxDigits : digits > 0;
    }
    // A quoted text with \\ and \" escaped, as Quoted writes it.
    bool QuotedText(std::string* text) {
        if (!Take("\"")) return false;
        text->clear();
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c == '"') return true;
            if (c == '\\') {
                if (pos_ == text_.size() || (text_[pos_] != '\\' && text_[pos_] != '"')) return false;
                *text += text_[pos_++];
            } else {
                *text += c;
            }
        }
        return false;
    }
    bool HexBytes(std::vector<BYTE>* data) {
        data->clear();
        if (Peek('\r')) return true;
        for (;;) {
            DWORD byte = 0;
            if (!Hex(2, true, &byte)) return false;
            data->push_back(static_cast<BYTE>(byte));
            if (!Take(",")) return true;
            Take("\\\r\n  ");
        }
    }

private:
    const std::string& text_;
    std::size_t pos_ = 0;
};

bool ReadValue(Reader& in, PreviousValue* entry) {
    if (!in.Take("@")) {
        if (!in.QuotedText(&entry->name)) return false;
    }
    if (!in.Take("=")) return false;
    RegValue& value = entry->value;
    entry->present = true;
    std::string text;
    DWORD number = 0;
    if (in.Take("-")) {
        entry->present = false;
        value = RegValue();
    } else if (in.Peek('"')) {
        if (!in.QuotedText(&text)) return false;
        value.type = REG_SZ;
        value.data.assign(text.begin(), text.end());
        value.data.push_back(0);
    } else if (in.Take("dword:")) {
        if (!in.Hex(8, true, &number)) return false;
        value.type = REG_DWORD;
        value.data = DwordBytes(number);
    } else if (in.Take("hex:")) {
        value.type = REG_BINARY;
        if (!in.HexBytes(&value.data)) return false;
    } else if (in.Take("hex(")) {
        if (!in.Hex(8, false, &value.type) || !in.Take("):") || !in.HexBytes(&value.data)) return false;
    } else {
        return false;
    }
    return in.Take(kEol);
}

}  // namespace

std::optional<std::string> PreviousSettingsFile::Format(const PreviousSettings& record, const std::string& savedAt) {
    if (HasControl(savedAt)) return std::nullopt;
    std::string text = kHeader;
    text += CommentStart() + std::to_string(record.Values().size()) + kCommentMiddle + savedAt + kEol;
    const std::string* section = nullptr;
    for (const PreviousValue& entry : record.Values()) {
        if (HasControl(entry.path) || entry.path.empty() || HasControl(entry.name)) return std::nullopt;
        if (section == nullptr || !SameRegistryName(*section, entry.path)) {
            text += std::string(kEol) + kSection + entry.path + "]" + kEol;
            section = &entry.path;
        }
        text += ValueLine(entry) + kEol;
    }
    return text + kEol;
}

std::optional<PreviousSettings> PreviousSettingsFile::Parse(const std::string& text) {
    Reader in(text);
    std::size_t count = 0;
    std::string line;
    if (!in.Take(kHeader) || !in.Take(CommentStart()) || !in.Number(&count) || !in.Take(kCommentMiddle) ||
        !in.RestOfLine(&line)) {
        return std::nullopt;
    }
    PreviousSettings record;
    std::string path;
    while (!in.AtEnd()) {
        if (in.Take(kEol)) continue;
        if (in.Take(kSection)) {
            if (!in.RestOfLine(&line) || line.size() < 2 || line.back() != ']') return std::nullopt;
            path = line.substr(0, line.size() - 1);
            continue;
        }
        PreviousValue entry;
        entry.path = path;
        if (path.empty() || !ReadValue(in, &entry)) return std::nullopt;
        // A location written twice was not written by this program.
        if (record.AddNew(PreviousSettings({std::move(entry)})) != 1) return std::nullopt;
    }
    if (record.Values().size() != count) return std::nullopt;
    return record;
}

bool PreviousSettingsFile::Exists() const { return files_->Present(path_) || files_->Present(SteppedAside(path_)); }

PreviousSettingsFile::LoadResult PreviousSettingsFile::Load(PreviousSettings* record) const {
    using ReadResult = ConfiguratorFiles::ReadResult;
    std::string text;
    ReadResult read = files_->ReadWhole(path_, &text);
    // A save that stopped between its renames left the record aside.
    if (read == ReadResult::Missing) read = files_->ReadWhole(SteppedAside(path_), &text);
    if (read == ReadResult::Missing) return LoadResult::Missing;
    if (read == ReadResult::Unreadable) return LoadResult::Refused;
    std::optional<PreviousSettings> parsed = Parse(text);
    if (!parsed) return LoadResult::Refused;
    *record = std::move(*parsed);
    return LoadResult::Loaded;
}

bool PreviousSettingsFile::Save(const PreviousSettings& record, const std::string& savedAt) const {
    const std::optional<std::string> text = Format(record, savedAt);
    if (!text) return false;
    const std::string fresh = path_ + ".new";
    if (!files_->WriteWhole(fresh, *text)) return false;
    if (files_->MoveIntoPlace(fresh, path_)) return true;
    files_->Remove(fresh);
    return false;
}

bool PreviousSettingsFile::Remove() const {
    files_->Remove(path_);
    files_->Remove(SteppedAside(path_));
    return !Exists();
}
