#pragma once
// The store of every settings file: the whole INI file in memory, read from any common encoding and
// written back whole as UTF-8 with a byte-order mark.
#include <string>
#include <string_view>
#include <vector>

namespace store {

class TMemIniFileUnicode {
public:
    // Reads the file at once when it exists; a missing or unreadable file gives an empty store.
    explicit TMemIniFileUnicode(std::wstring fileName);

    const std::wstring& FileName() const { return fileName_; }

    std::wstring ReadString(std::wstring_view section, std::wstring_view key, std::wstring_view defaultValue) const;
    int ReadInteger(std::wstring_view section, std::wstring_view key, int defaultValue) const;
    void WriteString(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    void WriteInteger(std::wstring_view section, std::wstring_view key, int value);

    void EraseSection(std::wstring_view section);
    bool SectionExists(std::wstring_view section) const;
    bool ValueExists(std::wstring_view section, std::wstring_view key) const;
    // Every line of the section as it is stored: "name=value", or a bare text without "=".
    std::vector<std::wstring> ReadSectionValues(std::wstring_view section) const;
    // The key names of the section, in order (bare lines are not keys).
    std::vector<std::wstring> ReadSection(std::wstring_view section) const;
    std::vector<std::wstring> ReadSections() const;

    // Writes the whole store. The text goes to a temporary file first, which then replaces the old file,
    // so a failed write leaves the last good file in place. Throws kit::Exception on failure, and when the
    // file existed but could not be read.
    void UpdateFile() const;

    // The file's text as UpdateFile writes it (UTF-8 with byte-order mark, CR LF).
    std::string SerializedText() const;

private:
    struct Line {
        std::wstring name;   // for a bare line: the whole text
        std::wstring value;
        bool hasValue;       // false for a line without "="
    };
    struct Section {
        std::wstring name;
        std::vector<Line> lines;
    };

    void Parse(const std::wstring& text);
    const Section* FindSection(std::wstring_view name) const;
    Section* FindSection(std::wstring_view name);
    static const Line* FindKey(const Section& section, std::wstring_view key);

    std::wstring fileName_;
    bool readWhole_ = true;  // false when the file exists but could not be read: it is then never overwritten
    std::vector<Section> sections_;
};

// Booleans are stored as "True"/"False"; any other text, an empty value or a missing key gives the default.
bool ReadIniBoolean(const TMemIniFileUnicode& ini, std::wstring_view section, std::wstring_view key,
                    bool defaultValue);
void WriteIniBoolean(TMemIniFileUnicode& ini, std::wstring_view section, std::wstring_view key, bool value);

// Decodes a settings file's bytes: by byte-order mark (UTF-8, UTF-16 LE/BE); without one, as UTF-8 when the
// bytes are valid UTF-8, else in the ANSI code page.
std::wstring DecodeSettingsText(const std::string& bytes);

} // namespace store
