#include "app/companion.h"

#include <QTimer>
#include <sstream>

#include "app/app_log.h"
#include "host/host_registration.h"
#include "host/igate_file.h"
#include "stations/range_value.h"

namespace ovelsk {
namespace {

constexpr int kExpiryIntervalMs = 60 * 1000;

}  // namespace

std::string versionStatusLine() {
    return "v" + std::to_string(OVELSK_VERSION_MAJOR) + "." + std::to_string(OVELSK_VERSION_MINOR) + "." +
           std::to_string(OVELSK_VERSION_PATCH);
}

Companion::Companion(StartupOptions options, TrackerWindow& view)
    : options_(std::move(options)),
      view_(view),
      gateway_(std::make_unique<IgateFile>(hostFolder_, [this](const std::string& message) { view_.setStatus(message); })) {
    // Stations expire and leave the quiet window also when no beacon comes.
    auto* expiryTimer = new QTimer(this);
    expiryTimer->setObjectName(QStringLiteral("expiryTimer"));
    expiryTimer->setInterval(kExpiryIntervalMs);
    connect(expiryTimer, &QTimer::timeout, this, [this] {
        if (tracker_) tracker_->RebuildOnTimer();
    });
    expiryTimer->start();
}

Companion::~Companion() = default;

std::optional<std::string> Companion::start() {
    neverHeard_ = options_.clock->now() - kNeverHeardDaysBack;
    // A range that is not a number tracks nothing; the host's Internet feed then
    // asks for the range the box starts with.
    auto host = options_.createHost(rangeValue(view_.rangeText()).value_or(40.0f));
    if (auto* error = std::get_if<std::string>(&host)) return "cannot start the host: " + *error;
    host_ = std::move(std::get<std::unique_ptr<HostApplication>>(host));
    tracker_ = std::make_unique<StationTracker>(view_, *host_, *gateway_, *options_.clock, neverHeard_);
    host_->bindNotifyBeaconData([this](const StationObject& cStn) { tracker_->mUIV_NotifyBeaconData(cStn); });

    registerWithHost();
    if (auto refused = lockHostFolder()) return refused;
    bool on = true;
    host_->enable(on);
    return std::nullopt;
}

void Companion::noteStatusPage(const std::string& url) {
    if (hostFolder_.empty()) return;  // no host folder, no lock to note it beside
    if (!hostFolderLock_.describeHolder("status page " + url + "\n"))
        qCWarning(lcFiles, "cannot note the status page's address beside the host folder's lock");
}

void Companion::registerWithHost() {
    std::ostringstream problems;
    hostFolder_ = RegisterWithHost(options_.executable, options_.hostSettingsFile, problems);
    std::istringstream lines(problems.str());
    for (std::string line; std::getline(lines, line);) qCWarning(lcFiles, "%s", line.c_str());
}

// Held for the program's life: a second Ovelsk on the same igate.ini stops here,
// and so does one that cannot tell, since two would spoil the file.
std::optional<std::string> Companion::lockHostFolder() {
    if (hostFolder_.empty()) return std::nullopt;
    if (hostFolderLock_.take(hostFolder_) == HostFolderLock::Outcome::Taken) return std::nullopt;
    return hostFolderLock_.problem();
}

}  // namespace ovelsk
