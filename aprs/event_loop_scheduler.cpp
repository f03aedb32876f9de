#include <QObject>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "aprs/scheduler.h"

namespace ovelsk::aprs {
namespace {

class EventLoopScheduler final : public Scheduler {
public:
    void schedule(std::chrono::milliseconds delay, std::function<void()> task) override {
        // QTimer counts in int milliseconds: about 24 days at most.
        const auto ms = std::clamp<std::chrono::milliseconds::rep>(delay.count(), 0, std::numeric_limits<int>::max());
        QTimer::singleShot(static_cast<int>(ms), &context_, std::move(task));
    }

private:
    QObject context_;  // its destruction cancels the pending timers
};

}  // namespace

std::unique_ptr<Scheduler> makeEventLoopScheduler() { return std::make_unique<EventLoopScheduler>(); }

}  // namespace ovelsk::aprs
