#pragma once
// The host's igate.ini, kept in step with the candidate list.

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/atomic_file.h"
#include "host/gateway_section.h"
#include "host/replaced_versions.h"

namespace ovelsk {

inline constexpr std::string_view kIgateFileName = "igate.ini";
inline constexpr std::string_view kIgateTempFileName = "igate.tmp";
// A gateway list is a few kilobytes; a file far beyond that is not one to rewrite
// on every beacon.
inline constexpr std::size_t kMaxIgateFileSize = 4 * 1024 * 1024;

class IgateFile final : public GatewaySection {
public:
    // Receives one line such as "Cannot write /host/igate.tmp: Permission denied".
    using ReportError = std::function<void(const std::string& message)>;

    // `hostFolder` is read at every write, so it may be filled in after this
    // object exists; it must outlive it. Without `flushToDisk` the new content is
    // not forced to disk before it replaces the old (for measuring only).
    explicit IgateFile(const std::string& hostFolder, ReportError reportError = {}, bool flushToDisk = true);

    // Rewrites igate.ini in the host folder with the callsigns of `rows` in its
    // gateway section: through igate.tmp, flushed, then put in its place, so the
    // host only ever sees the old or the new file, complete (see
    // replaceFileAtomically for mode, owner, links and hand edits saved
    // meanwhile; a save in place into the version just replaced is taken up by
    // the next call, see ReplacedVersions). Content that would not change is not written at all, and the
    // file is read again only once it or the rows changed. An empty host folder or
    // a missing igate.ini is skipped silently. A file that cannot be kept is left
    // as it is and reported, once for each distinct problem until a write works
    // again: one we may not write, one saved as UTF-16, one over
    // kMaxIgateFileSize, a link that leads nowhere, and any failing read or write
    // (naming the file that failed). Never throws.
    void WriteIgateSection(const std::vector<std::string>& rows) override;

private:
    void keep(const std::filesystem::path& target, const std::vector<std::string>& rows);
    void report(const std::string& what, const FileError& error);

    const std::string& hostFolder_;
    ReportError reportError_;
    bool flushToDisk_;
    // The version of the file last found to need no change for these rows: most
    // beacons leave the list as it was, and then a stat is all the work.
    std::optional<FileStamp> settledStamp_;
    std::vector<std::string> settledRows_;
    std::set<std::string> reported_;
    ReplacedVersions replaced_;
    FileStamp written_;  // the version last put in place

};

}  // namespace ovelsk
