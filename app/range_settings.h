#pragma once
// The range setting's file, Ovelsk.ini. Ovelsk writes one line; a hand-edited
// file may hold more:
//
//   RANGE_FILTER=40
//
// It is kept in the program's folder where that folder is writable (a build, a
// copy in the user's own folder). An installed copy's folder is not, or is under
// /usr, which is the package manager's even for root; there the file goes to the
// user's config folder, $XDG_CONFIG_HOME/ovelsk/, and start-up reads it from
// there when it exists, else from beside the program.

#include <QString>
#include <filesystem>
#include <optional>

#include "host/atomic_file.h"

namespace ovelsk {

inline constexpr char kRangeKey[] = "RANGE_FILTER=";

struct RangeSettingsFolders {
    std::filesystem::path programFolder;
    std::filesystem::path userFolder;  // $XDG_CONFIG_HOME/ovelsk in the program
};

// $XDG_CONFIG_HOME (else ~/.config) / ovelsk
std::filesystem::path defaultUserSettingsFolder();

// The range a settings file's text sets, nullopt when no line holds the key.
// Every "|" becomes ","; a line holding the key anywhere gives its last (length
// minus 13) characters, so "# RANGE_FILTER=25" gives "R=25"; the last such line wins.
std::optional<QString> rangeFromSettingsText(const QString& text);

struct RangeSettingRead {
    std::filesystem::path file;  // the file read, or looked for
    std::optional<QString> range;
    std::optional<FileError> error;  // the file exists but could not be read
};

// Where SAVE writes Ovelsk.ini.
std::filesystem::path rangeSettingsFolderToSave(const RangeSettingsFolders& folders);

// Reads the range settings file. No file is no range and no error.
RangeSettingRead readRangeSetting(const RangeSettingsFolders& folders);

// What the range box keeps of `text`: one line (a pasted "25" and line break is
// 25), and never a range of 0, which becomes 1.
QString rangeBoxText(const QString& text);

// The range the settings file holds, else `current`; a file that cannot be
// read is said on the log (ovelsk.files) and leaves `current`.
QString savedRangeOr(const RangeSettingsFolders& folders, const QString& current);

// Replaces the settings file with the one line for `range`, written unchanged,
// through Ovelsk.tmp so a failure leaves the old file whole.
std::optional<FileError> saveRangeSetting(const RangeSettingsFolders& folders, const QString& range);

}  // namespace ovelsk
