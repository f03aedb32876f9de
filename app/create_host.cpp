#include "app/create_host.h"

namespace ovelsk {
namespace {

// A host with no feeds: it is switched on like any other but never hears a
// beacon, so its station lists stay empty and it raises no events.
class HostWithoutFeeds final : public HostApplication {
public:
    void bindNotifyBeaconData(NotifyBeaconData handler) override { notify_ = std::move(handler); }
    void enable(bool& on) override { enabled_ = on; }
    std::int16_t stationListCount() override { return 0; }
    std::string_view stationListLine(std::int16_t) override { return {}; }
    std::span<const std::string> secondStationList() override { return secondList_; }

private:
    NotifyBeaconData notify_;
    bool enabled_ = false;
    std::string secondList_[1];  // element 0 is the header line the list always has
};

}  // namespace

HostOrError createHost() { return std::make_unique<HostWithoutFeeds>(); }

}  // namespace ovelsk
