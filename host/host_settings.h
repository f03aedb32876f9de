#pragma once
// The host's saved settings: one hand-editable INI file that stands in for the
// Windows registry, `Peak Systems/UI-View32.ini` under the XDG config folder.
// Ovelsk reads "Program Folder" from its [UI-View32] section; the host keeps its
// own keys in the same section.
//
//   [UI-View32]
//   Program Folder=/home/me/host/
//   Latitude=51.5

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/atomic_file.h"

namespace ovelsk {

inline constexpr std::string_view kHostSettingsSection = "UI-View32";
inline constexpr std::string_view kProgramFolderKey = "Program Folder";
// The station's own callsign: the APRS-IS login, the gateway and the beacon sign with it.
inline constexpr std::string_view kCallsignKey = "Callsign";

class HostSettings {
public:
    explicit HostSettings(std::filesystem::path file);

    // $XDG_CONFIG_HOME (else ~/.config) / "Peak Systems" / "UI-View32.ini".
    static std::filesystem::path defaultPath();

    const std::filesystem::path& path() const { return file_; }

    // Reads the file. A file that does not exist is an empty set of settings, not
    // an error; exists() tells the two apart. Lines end at CRLF, LF or a lone CR;
    // a file saved as UTF-16 is an error.
    std::optional<FileError> load();
    bool exists() const { return exists_; }

    // A key of the [UI-View32] section; keys and section names match whatever
    // their letter case, blanks around keys and values are not part of them.
    // Should a key appear twice, the first one counts.
    std::optional<std::string> value(std::string_view key) const;
    // The keys of the [UI-View32] section as written, in file order; comments are no keys.
    std::vector<std::string> keys() const;

    // A key line as written, with its line number (1 for the first line).
    struct KeyLine {
        std::string key;
        std::size_t line = 0;
    };
    // Whether a [UI-View32] section line is there.
    bool hasSection() const;
    // Key lines that Ovelsk does not read: before the first section line or in another section.
    std::vector<KeyLine> keysOutsideSection() const;
    // Each later line of a key the section already has, paired with the first one, which counts.
    std::vector<std::pair<KeyLine, KeyLine>> repeatedKeys() const;

    // Sets a key in memory, keeping every other line as it was; save() writes it.
    // False, and nothing changed, for a key or value that cannot stand on one
    // line (a line break, a key that is empty, holds "=" or starts a section or
    // comment).
    bool setValue(std::string_view key, std::string_view value);
    // Writes the lines back atomically, with the line ending the file had (CRLF, LF or CR).
    std::optional<FileError> save() const;

private:
    std::filesystem::path file_;
    std::vector<std::string> lines_;
    bool exists_ = false;
    bool byteOrderMark_ = false;
    std::string_view lineEnd_ = "\n";
};

}  // namespace ovelsk
