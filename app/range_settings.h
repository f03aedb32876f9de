#pragma once
// The range setting's file, Ovelsk.ini in the program's folder. Ovelsk writes
// one line; a hand-edited file may hold more:
//
//   RANGE_FILTER=40

#include <QString>
#include <filesystem>
#include <optional>

#include "host/atomic_file.h"

namespace ovelsk {

inline constexpr char kRangeKey[] = "RANGE_FILTER=";

std::filesystem::path rangeSettingsFile(const std::filesystem::path& programFolder);

// The range a settings file's text sets, nullopt when no line holds the key.
// Every "|" becomes ","; a line holding the key anywhere gives its last (length
// minus 13) characters, so "# RANGE_FILTER=25" gives "R=25"; the last such line wins.
std::optional<QString> rangeFromSettingsText(const QString& text);

struct RangeSettingRead {
    std::optional<QString> range;
    std::optional<FileError> error;  // the file exists but could not be read
};

// Reads the settings file of `programFolder`. No file there is no range and no error.
RangeSettingRead readRangeSetting(const std::filesystem::path& programFolder);

// Replaces the settings file with the one line for `range`, written unchanged,
// through Ovelsk.tmp so a failure leaves the old file whole.
std::optional<FileError> saveRangeSetting(const std::filesystem::path& programFolder, const QString& range);

}  // namespace ovelsk
