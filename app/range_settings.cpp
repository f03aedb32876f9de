#include "app/range_settings.h"

#include <QStringList>
#include <system_error>

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

}  // namespace

std::filesystem::path rangeSettingsFile(const std::filesystem::path& programFolder) {
    return programFolder / kSettingsFileName;
}

std::optional<QString> rangeFromSettingsText(const QString& text) {
    const QString key = QString::fromLatin1(kRangeKey);
    std::optional<QString> range;
    for (QString line : splitLines(text)) {
        line.replace(u'|', u',');
        if (line.contains(key)) range = line.right(line.size() - key.size());
    }
    return range;
}

RangeSettingRead readRangeSetting(const std::filesystem::path& programFolder) {
    const auto file = rangeSettingsFile(programFolder);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return {};
    FileError error;
    const auto content = readWholeFile(file, &error);
    if (!content) return {std::nullopt, error};
    return {rangeFromSettingsText(QString::fromUtf8(content->data(), static_cast<qsizetype>(content->size()))),
            std::nullopt};
}

std::optional<FileError> saveRangeSetting(const std::filesystem::path& programFolder, const QString& range) {
    const QByteArray line = (QString::fromLatin1(kRangeKey) + range + QStringLiteral("\r\n")).toUtf8();
    return replaceFileAtomically(rangeSettingsFile(programFolder), programFolder / kSettingsTempFileName,
                                 std::string_view(line.constData(), static_cast<size_t>(line.size())));
}

}  // namespace ovelsk
