#include <QTimer>
#include <algorithm>
#include <limits>
#include <utility>

#include "feeds/feed_timer.h"

namespace ovelsk::aprs {

namespace {

class EventLoopTimer final : public FeedTimer {
public:
    EventLoopTimer() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            // The handler may start the timer again with a new one.
            auto onExpiry = std::exchange(onExpiry_, nullptr);
            if (onExpiry) {
                onExpiry();
            }
        });
    }

    void start(std::chrono::milliseconds delay, std::function<void()> onExpiry) override {
        onExpiry_ = std::move(onExpiry);
        // QTimer counts in int milliseconds: about 24 days at most.
        const auto ms = std::clamp<std::chrono::milliseconds::rep>(delay.count(), 0, std::numeric_limits<int>::max());
        timer_.start(static_cast<int>(ms));
    }

    void stop() override {
        timer_.stop();
        onExpiry_ = nullptr;
    }

private:
    QTimer timer_;
    std::function<void()> onExpiry_;
};

}  // namespace

std::unique_ptr<FeedTimer> makeEventLoopTimer() { return std::make_unique<EventLoopTimer>(); }

}  // namespace ovelsk::aprs
