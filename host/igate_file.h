#pragma once
// The host's igate.ini, kept in step with the candidate list.

#include <functional>
#include <string>
#include <vector>

#include "host/gateway_section.h"

namespace ovelsk {

inline constexpr std::string_view kIgateFileName = "igate.ini";
inline constexpr std::string_view kIgateTempFileName = "igate.tmp";

class IgateFile final : public GatewaySection {
public:
    // Receives one line such as "Cannot write /host/igate.ini: Permission denied".
    using ReportError = std::function<void(const std::string& message)>;

    // `hostFolder` is read at every write, so it may be filled in after this
    // object exists; it must outlive it. Without `flushToDisk` the new content is
    // not forced to disk before it replaces the old (for measuring only).
    explicit IgateFile(const std::string& hostFolder, ReportError reportError = {}, bool flushToDisk = true);

    // Rewrites igate.ini in the host folder with the callsigns of `rows` in its
    // gateway section: through igate.tmp, flushed, then renamed over it, so the
    // host only ever sees the old or the new file, complete. Content that would
    // not change is not written at all. An empty host folder or a missing
    // igate.ini is skipped silently; any other failure leaves igate.ini as it was
    // and no igate.tmp behind, and goes to the error report. Never throws.
    void WriteIgateSection(const std::vector<std::string>& rows) override;

private:
    const std::string& hostFolder_;
    ReportError reportError_;
    bool flushToDisk_;
    // The last file content found to need no change for these rows: most beacons
    // leave the list as it was, and then a byte comparison is all the work.
    std::string settledText_;
    std::vector<std::string> settledRows_;
};

}  // namespace ovelsk
