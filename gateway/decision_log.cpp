#include "gateway/decision_log.h"

#include <algorithm>

namespace ovelsk::gateway {
namespace {

constexpr std::int64_t kMinuteMs = 60'000;

}  // namespace

std::string withThousandsSeparators(std::uint64_t n) {
    std::string digits = std::to_string(n);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

DecisionLog::DecisionLog(QMessageLogger::CategoryFunction category, std::string prefix)
    : category_(category), prefix_(std::move(prefix) + ": ") {}

void DecisionLog::print(QtMsgType level, std::string_view text) const {
    const int size = static_cast<int>(text.size());
    if (level == QtWarningMsg) qCWarning(category_, "%s%.*s", prefix_.c_str(), size, text.data());
    else qCInfo(category_, "%s%.*s", prefix_.c_str(), size, text.data());
}

void DecisionLog::flush(std::int64_t nowMs) {
    // Nothing is over before the oldest minute is, unless the clock was set back.
    if (nowMs >= firstStartMs_ && nowMs - firstStartMs_ < kMinuteMs) return;
    if (minutes_.empty()) return;
    firstStartMs_ = INT64_MAX;
    for (auto minute = minutes_.begin(); minute != minutes_.end();) {
        const Minute& m = minute->second;
        if (nowMs >= m.startMs && nowMs - m.startMs < kMinuteMs) {
            firstStartMs_ = std::min(firstStartMs_, m.startMs);
            ++minute;
            continue;
        }
        if (m.more > 0) print(m.level, withThousandsSeparators(m.more) + " more " + minute->first);
        minute = minutes_.erase(minute);
    }
}

void DecisionLog::write(std::int64_t nowMs, std::string_view kind, std::string_view line, QtMsgType level) {
    flush(nowMs);
    auto minute = minutes_.find(kind);
    if (minute == minutes_.end()) {
        minute = minutes_.emplace(std::string(kind), Minute{nowMs, level}).first;
        firstStartMs_ = std::min(firstStartMs_, nowMs);
    }
    Minute& m = minute->second;
    if (m.written == kLinesPerMinute) {
        ++m.more;
        return;
    }
    ++m.written;
    print(level, line);
}

}  // namespace ovelsk::gateway
