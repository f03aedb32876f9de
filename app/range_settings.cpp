#include "app/range_settings.h"

#include <QStringList>
#include <system_error>
#include <unistd.h>

#include "app/app_log.h"
#include "host/xdg_folders.h"

namespace ovelsk {
namespace {

constexpr char kSettingsFileName[] = "Ovelsk.ini";
constexpr char kSettingsTempFileName[] = "Ovelsk.tmp";

// Lines end with CR LF as written, LF when edited here, or a lone CR.
QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.append(text.mid(start));
    return lines;
}

bool isWritableFolder(const std::filesystem::path& folder) { return ::access(folder.c_str(), W_OK) == 0; }

// /usr belongs to the package manager, even where root could write there.
bool isUnderUsr(const std::filesystem::path& folder) {
    const auto normal = folder.lexically_normal();
    auto part = normal.begin();
    return part != normal.end() && *part == "/" && ++part != normal.end() && *part == "usr";
}

}  // namespace

std::filesystem::path rangeSettingsFolderToSave(const RangeSettingsFolders& folders) {
    const bool besideProgram = isWritableFolder(folders.programFolder) && !isUnderUsr(folders.programFolder);
    return besideProgram ? folders.programFolder : folders.userFolder;
}

namespace {

// The file start-up reads the range from.
std::filesystem::path rangeSettingsFileToRead(const RangeSettingsFolders& folders) {
    const auto saved = rangeSettingsFolderToSave(folders) / kSettingsFileName;
    std::error_code ec;
    // Until the first SAVE of an installed copy, the file beside the program (if any) holds the range.
    return std::filesystem::exists(saved, ec) ? saved : folders.programFolder / kSettingsFileName;
}

}  // namespace

std::filesystem::path defaultUserSettingsFolder() { return xdgConfigHome() / "ovelsk"; }

std::optional<QString> rangeFromSettingsText(const QString& text) {
    const QString key = QString::fromLatin1(kRangeKey);
    std::optional<QString> range;
    for (QString line : splitLines(text)) {
        line.replace(u'|', u',');
        if (line.contains(key)) range = line.right(line.size() - key.size());
    }
    return range;
}

RangeSettingRead readRangeSetting(const RangeSettingsFolders& folders) {
    const auto file = rangeSettingsFileToRead(folders);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return {file, std::nullopt, std::nullopt};
    FileError error;
    const auto content = readWholeFile(file, &error);
    if (!content) return {file, std::nullopt, error};
    return {file,
            rangeFromSettingsText(QString::fromUtf8(content->data(), static_cast<qsizetype>(content->size()))),
            std::nullopt};
}

std::optional<FileError> saveRangeSetting(const RangeSettingsFolders& folders, const QString& range) {
    const auto folder = rangeSettingsFolderToSave(folders);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return FileError{ec.message()};
    const QByteArray line = (QString::fromLatin1(kRangeKey) + range + QStringLiteral("\r\n")).toUtf8();
    return replaceFileAtomically(folder / kSettingsFileName, folder / kSettingsTempFileName,
                                 std::string_view(line.constData(), static_cast<size_t>(line.size())));
}

QString rangeBoxText(const QString& text) {
    qsizetype end = 0;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    const QString line = text.left(end);
    return line == QStringLiteral("0") ? QStringLiteral("1") : line;
}

QString savedRangeOr(const RangeSettingsFolders& folders, const QString& current) {
    const auto read = readRangeSetting(folders);
    if (read.error) {
        qCWarning(lcFiles, "cannot read %s (%s); the range stays %s", read.file.c_str(), read.error->reason.c_str(),
                  qUtf8Printable(current));
        return current;
    }
    return read.range.value_or(current);
}

}  // namespace ovelsk
