#include "feeds/transmit_deadline.h"

#include <string>
#include <utility>

namespace ovelsk::aprs {
namespace {

constexpr int kChecksToDeadline = static_cast<int>(kTransmitDeadline / kTransmitCheckInterval);

}  // namespace

TransmitDeadline::TransmitDeadline(FeedConnection& connection, std::unique_ptr<FeedTimer> check)
    : connection_(connection), timer_(std::move(check)) {}

bool TransmitDeadline::send(std::string_view frame) {
    if (!connection_.send(frame)) {
        return false;
    }
    if (waiting_.empty()) {
        timer_->start(kTransmitCheckInterval, [this] { check(); });
    }
    handedOver_ += static_cast<long long>(frame.size());
    waiting_.push_back({handedOver_, checks_});
    return true;
}

void TransmitDeadline::forget() {
    timer_->stop();
    waiting_.clear();
    handedOver_ = 0;
}

void TransmitDeadline::check() {
    ++checks_;
    const long long taken = handedOver_ - connection_.unsentBytes();
    while (!waiting_.empty() && waiting_.front().end <= taken) {
        waiting_.pop_front();
    }
    if (waiting_.empty()) {
        return;
    }
    if (checks_ - waiting_.front().handedAt < kChecksToDeadline) {
        timer_->start(kTransmitCheckInterval, [this] { check(); });
        return;
    }
    const auto dropped = waiting_.size();
    // Forgotten first: discarding may report the link lost, which forgets again.
    forget();
    connection_.discardUnsent("to drop " + std::to_string(dropped) + (dropped == 1 ? " frame" : " frames") +
                              " the TNC did not take within " + std::to_string(kTransmitDeadline.count()) +
                              " s, never to be sent late");
}

}  // namespace ovelsk::aprs
