#include "host/igate_file.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <sys/stat.h>

#include "host/atomic_file.h"
#include "host/host_folder.h"
#include "host/igate_text.h"

namespace ovelsk {

IgateFile::IgateFile(const std::string& hostFolder, ReportError reportError, bool flushToDisk)
    : hostFolder_(hostFolder), reportError_(std::move(reportError)), flushToDisk_(flushToDisk) {}

void IgateFile::WriteIgateSection(const std::vector<std::string>& rows) {
    if (hostFolder_.empty()) return;
    const auto target = hostFolderFile(hostFolder_, kIgateFileName);
    const auto report = [&](const std::string& what, const std::string& reason) {
        if (reportError_) reportError_(what + " " + target.string() + ": " + reason);
    };
    try {
        FileError error;
        auto current = readWholeFile(target, &error);
        if (!current) {
            struct stat info {};
            if (::lstat(target.c_str(), &info) != 0 && errno == ENOENT) return;
            return report("Cannot read", error.reason);
        }
        if (rows == settledRows_ && *current == settledText_) return;

        const std::string updated = rewriteIgateText(*current, rows);
        if (updated == *current) {
            settledText_ = std::move(*current);
            settledRows_ = rows;
            return;
        }
        if (const auto failed = replaceFileAtomically(target, hostFolderFile(hostFolder_, kIgateTempFileName),
                                                      updated, flushToDisk_)) {
            report("Cannot write", failed->reason);
        }
    } catch (const std::exception& e) {
        // Out of memory for a huge file, say: the old file stays, the program goes on.
        report("Cannot write", e.what());
    }
}

}  // namespace ovelsk
