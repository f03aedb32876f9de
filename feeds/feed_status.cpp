#include "feeds/feed_status.h"

namespace ovelsk::aprs {

std::string_view feedStateLabel(FeedState state) {
    switch (state) {
    case FeedState::Idle: return "idle";
    case FeedState::Connecting: return "connecting";
    case FeedState::Connected: return "connected";
    case FeedState::Retrying: return "retrying";
    case FeedState::Playing: return "playing";
    }
    return "idle";
}

std::string_view feedKind(std::string_view name) { return name.substr(0, name.find(':')); }

}  // namespace ovelsk::aprs
