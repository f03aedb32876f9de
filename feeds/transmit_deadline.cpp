#include "feeds/transmit_deadline.h"

#include <utility>

#include "feeds/feeds_log.h"
#include "feeds/log_text.h"

namespace ovelsk::aprs {
namespace {

constexpr int kChecksToDeadline = static_cast<int>(kTransmitDeadline / kTransmitCheckInterval);

std::string notTakenInTime(std::size_t frames) {
    return std::to_string(frames) + (frames == 1 ? " frame" : " frames") + " the TNC did not take within " +
           std::to_string(kTransmitDeadline.count()) + " s, never to be sent late";
}

}  // namespace

TransmitDeadline::TransmitDeadline(TcpFeedConnection& connection, std::unique_ptr<FeedTimer> check)
    : connection_(connection), resettable_(&connection), timer_(std::move(check)) {}

TransmitDeadline::TransmitDeadline(SerialFeedConnection& connection, std::unique_ptr<FeedTimer> check)
    : connection_(connection), timer_(std::move(check)) {
    connection.whenDrained([this] { handOverNext(); });
}

bool TransmitDeadline::send(std::string_view frame) {
    if (!resettable_) {
        return hold(frame);
    }
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
    held_.clear();
    handedOver_ = 0;
    heldBytes_ = 0;
}

bool TransmitDeadline::hold(std::string_view frame) {
    if (!connection_.isUp() || heldBytes_ > kMaxUnsentBytes) {
        return false;
    }
    if (held_.empty()) {
        timer_->start(kTransmitCheckInterval, [this] { check(); });
    }
    held_.push_back({std::string(frame), checks_});
    heldBytes_ += static_cast<long long>(frame.size());
    handOverNext();
    return true;
}

void TransmitDeadline::handOverNext() {
    if (held_.empty() || connection_.unsentBytes() != 0) {
        return;
    }
    // Whole and alone, it cannot fail for a backlog; a device that went away
    // says so and is forgotten.
    auto next = std::move(held_.front());
    held_.pop_front();
    heldBytes_ -= static_cast<long long>(next.frame.size());
    connection_.send(next.frame);
}

void TransmitDeadline::check() {
    ++checks_;
    const long long taken = handedOver_ - connection_.unsentBytes();
    while (!waiting_.empty() && waiting_.front().end <= taken) {
        waiting_.pop_front();
    }
    std::size_t dropped = 0;
    for (; !held_.empty() && late(held_.front().heldAt); ++dropped) {
        heldBytes_ -= static_cast<long long>(held_.front().frame.size());
        held_.pop_front();
    }
    if (dropped > 0) {
        qCWarning(lcFeeds, "%s", escapedForLog(connection_.name() + ": dropped " + notTakenInTime(dropped)).c_str());
    }
    // No word may have come that the device took the last one.
    handOverNext();
    if (!waiting_.empty() && late(waiting_.front().handedAt)) {
        const auto reset = waiting_.size();
        // Forgotten first: the reset reports the link lost, which forgets again.
        forget();
        resettable_->discardUnsent("to drop " + notTakenInTime(reset));
        return;
    }
    if (!waiting_.empty() || !held_.empty()) {
        timer_->start(kTransmitCheckInterval, [this] { check(); });
    }
}

bool TransmitDeadline::late(int since) const { return checks_ - since >= kChecksToDeadline; }

}  // namespace ovelsk::aprs
