#pragma once
// A gate's one way to log: every decision gets its line, but once ten lines of
// one kind (an outcome and its reason) went out within a minute, the rest of
// that minute are only counted, and summed up in one line when it is over:
//   gate: not sent message W1FAR to M1LOC-7: message rate limit 18/90
//   ... nine more like it, then nothing until the minute is over ...
//   gate: 4,982 more not sent: message rate limit 18/90
// A kind's minute starts with its first line. The minute is read off the gate's
// clock, and its summary is written with the gate's next line or packet after it.

#include <QLoggingCategory>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace ovelsk::gateway {

class DecisionLog {
public:
    static constexpr int kLinesPerMinute = 10;

    // Lines go to `category` as "PREFIX: LINE".
    DecisionLog(QMessageLogger::CategoryFunction category, std::string prefix);

    // Logs `line`, or counts it when ten of its `kind` ("not sent: rate limit
    // 6/20", "sent") went out in this minute; the summary reads "N more KIND".
    void write(std::int64_t nowMs, std::string_view kind, std::string_view line, QtMsgType level = QtInfoMsg);
    // Writes the summaries of the minutes that are over at `nowMs`.
    void flush(std::int64_t nowMs);

private:
    struct Minute {
        std::int64_t startMs;
        QtMsgType level;
        int written = 0;
        std::uint64_t more = 0;
    };

    void print(QtMsgType level, std::string_view text) const;

    QMessageLogger::CategoryFunction category_;
    std::string prefix_;
    std::map<std::string, Minute, std::less<>> minutes_;  // by kind, while their minute lasts
    std::int64_t firstStartMs_ = INT64_MAX;
};

// 4982 as "4,982".
std::string withThousandsSeparators(std::uint64_t n);

}  // namespace ovelsk::gateway
