#pragma once
// Ovelsk without its window (--headless, or no screen to show it on): no
// widget is made and no radar is drawn on a timer, so an idle iGate sleeps
// (the status page draws its radar when asked). The range is the saved range
// setting, the status lines go to `statusLine` alone, and the list is kept
// only in igate.ini and on the status page.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/companion.h"
#include "app/startup_options.h"
#include "stations/tracker_window.h"

namespace ovelsk {

class HeadlessRun final : public TrackerWindow {
public:
    HeadlessRun(StartupOptions options, std::function<void(const std::string&)> statusLine);

    // Says the version, reads the range setting and starts the companion; why
    // it could not start, else nullopt.
    [[nodiscard]] std::optional<std::string> start();

    const Companion& companion() const { return companion_; }
    Companion& companion() { return companion_; }

    std::string rangeText() const override { return range_; }
    void setStatus(const std::string& text) override { statusLine_(text); }
    void replaceCandidateRows(const std::vector<std::string>&) override {}

private:
    std::function<void(const std::string&)> statusLine_;
    RangeSettingsFolders rangeFolders_;
    std::string range_ = "40";
    Companion companion_;
};

}  // namespace ovelsk
