#pragma once
// What Ovelsk runs with its window and without: the host and its feeds, the
// station tracker with igate.ini's section, the lock on the host folder and the
// timer that expires stations. A view (the window, or the status lines alone
// when headless) holds the range and shows the status line and the list, as
// the tracker's TrackerWindow; the status page reads the same companion.

#include <QObject>
#include <memory>
#include <optional>
#include <string>

#include "app/range_settings.h"
#include "app/startup_options.h"
#include "host/gateway_section.h"
#include "host/host_application.h"
#include "host/host_folder_lock.h"
#include "stations/station_tracker.h"
#include "stations/tracker_window.h"

namespace ovelsk {

// The first status line, the program's version ("v1.0.0").
std::string versionStatusLine();

// A QObject so its timer is its child, named "expiryTimer".
class Companion final : public QObject {
public:
    // `view` outlives the companion.
    Companion(StartupOptions options, TrackerWindow& view);
    ~Companion();
    Companion(const Companion&) = delete;
    Companion& operator=(const Companion&) = delete;

    // Makes the host for the view's range, registers with it, locks its host
    // folder and starts it. Stops and says why when the host cannot be made or
    // another Ovelsk already keeps the same host folder; the program then ends.
    [[nodiscard]] std::optional<std::string> start();

    // Where this Ovelsk serves its status page, written beside the host
    // folder's lock, so a second Ovelsk stopped by the lock can say where.
    void noteStatusPage(const std::string& url);

    DateTime neverHeard() const { return neverHeard_; }
    const std::string& hostFolder() const { return hostFolder_; }
    // Null before start().
    const StationTracker* tracker() const { return tracker_.get(); }
    const HostApplication* host() const { return host_.get(); }
    // The clock the tracker's times are on.
    const Clock& clock() const { return *options_.clock; }
    std::string rangeText() const { return view_.rangeText(); }

private:
    void registerWithHost();
    std::optional<std::string> lockHostFolder();

    StartupOptions options_;
    TrackerWindow& view_;
    DateTime neverHeard_ = 0;
    std::string hostFolder_;
    HostFolderLock hostFolderLock_;
    std::unique_ptr<GatewaySection> gateway_;
    std::unique_ptr<HostApplication> host_;
    std::unique_ptr<StationTracker> tracker_;
};

}  // namespace ovelsk
