#include "host/igate_file.h"

#include <cerrno>
#include <exception>
#include <sys/stat.h>
#include <utility>

#include "host/host_folder.h"
#include "host/igate_text.h"

namespace ovelsk {
namespace {

// Hand edits saved faster than a rewrite can finish win over it this often before
// the rewrite gives up and says so.
constexpr int kRewriteAttempts = 5;

// Notepad's "Unicode" and "Unicode big endian": every byte-wise line would be
// broken in two.
bool savedAsUtf16(std::string_view content) {
    return content.starts_with("\xFF\xFE") || content.starts_with("\xFE\xFF");
}

}  // namespace

IgateFile::IgateFile(const std::string& hostFolder, ReportError reportError, bool flushToDisk)
    : hostFolder_(hostFolder), reportError_(std::move(reportError)), flushToDisk_(flushToDisk) {}

void IgateFile::WriteIgateSection(const std::vector<std::string>& rows) {
    if (hostFolder_.empty()) return;
    const auto target = hostFolderFile(hostFolder_, kIgateFileName);
    try {
        keep(target, rows);
    } catch (const std::exception& e) {
        // Out of memory, say: the old file stays, the program goes on.
        report("Cannot write", {e.what(), target});
    }
}

void IgateFile::keep(const std::filesystem::path& target, const std::vector<std::string>& rows) {
    auto lateSave = replaced_.takeLateSave(kMaxIgateFileSize);
    const auto now = fileStamp(target);
    if (now && now == settledStamp_ && rows == settledRows_ && !lateSave) return;
    if (now && static_cast<std::uint64_t>(now->size) > kMaxIgateFileSize) {
        return report("Cannot write", {"it is " + std::to_string(now->size) + " bytes, more than the " +
                                           std::to_string(kMaxIgateFileSize / (1024 * 1024)) +
                                           " MiB a gateway list may have; it is left as it is",
                                       target});
    }
    for (int attempt = 0; attempt < kRewriteAttempts; ++attempt) {
        FileError error;
        FileStamp read;
        const auto current = readWholeFile(target, &error, &read, kMaxIgateFileSize);
        if (!current) {
            struct stat info {};
            if (::lstat(target.c_str(), &info) != 0 && errno == ENOENT) return;
            return report("Cannot read", error);
        }
        // A save into a version already replaced counts, unless the file in place
        // is not one of ours and was saved after it.
        const bool lateSaveCounts = lateSave && (read == written_ || !modifiedLater(read, lateSave->stamp));
        const std::string& base = lateSaveCounts ? lateSave->text : *current;
        if (savedAsUtf16(base)) {
            settledStamp_ = read;
            settledRows_ = rows;
            return report("Cannot write", {"it is saved as UTF-16 (Unicode); save it as plain text", target});
        }
        const std::string updated = rewriteIgateText(base, rows);
        std::optional<FileError> failed;
        if (updated != *current) {
            replaced_.holdBeforeReplacing(target, read);
            failed = replaceFileAtomically(target, hostFolderFile(hostFolder_, kIgateTempFileName), updated,
                                           flushToDisk_, read, &written_);
            replaced_.replaced(!failed);
        }
        if (!failed) {
            // Written or already right: what is known to be right is a file that
            // was read, so a written one is settled by the next call's reading.
            settledStamp_ = updated == *current ? std::optional(read) : std::nullopt;
            settledRows_ = rows;
            reported_.clear();
            return;
        }
        if (!failed->changedMeanwhile) return report("Cannot write", *failed);
    }
    report("Cannot write", {"it kept changing while being rewritten; tried " + std::to_string(kRewriteAttempts) +
                                " times",
                            target});
}

void IgateFile::report(const std::string& what, const FileError& error) {
    const std::string message = what + " " + error.file.string() + ": " + error.reason;
    if (reportError_ && reported_.insert(message).second) reportError_(message);
}

}  // namespace ovelsk
