#include "app/headless_run.h"

namespace ovelsk {

HeadlessRun::HeadlessRun(StartupOptions options, std::function<void(const std::string&)> statusLine)
    : statusLine_(std::move(statusLine)),
      rangeFolders_{options.programFolder, options.userSettingsFolder},
      companion_(std::move(options), *this) {}

std::optional<std::string> HeadlessRun::start() {
    setStatus(versionStatusLine());
    range_ = rangeBoxText(savedRangeOr(rangeFolders_, QString::fromStdString(range_))).toStdString();
    return companion_.start();
}

}  // namespace ovelsk
