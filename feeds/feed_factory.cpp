#include "feeds/feed_factory.h"

#include <algorithm>
#include <array>

#include "feeds/aprs_is_feed.h"
#include "feeds/demo_feed.h"
#include "feeds/kiss_feed.h"
#include "feeds/replay_feed.h"

namespace ovelsk::aprs {
namespace {

using FeedOrError = std::variant<std::unique_ptr<Feed>, std::string>;

struct FeedKind {
    std::string_view name;   // the entry starts with it, followed by ":" when it takes an argument
    std::string_view usage;  // for the error message
    bool takesArgument;
    FeedOrigin origin;
    FeedOrError (*make)(std::string_view argument, const FeedContext& context, PacketSink sink);
};

FeedOrError makeDemo(std::string_view, const FeedContext& context, PacketSink sink) {
    return makeDemoFeed(std::move(sink), context.makeTimer(), context.replaySpeed);
}

FeedOrError makeReplay(std::string_view path, const FeedContext& context, PacketSink sink) {
    std::string error;
    auto source = FileReplaySource::open(std::string(path), &error);
    if (!source) return "replay:PATH of a readable file (" + std::string(path) + ": " + error + ")";
    return std::make_unique<ReplayFeed>(std::move(source), std::move(sink), context.makeTimer(),
                                        ReplayOptions{std::string(path), context.replaySpeed});
}

FeedOrError makeAprsIs(std::string_view address, const FeedContext& context, PacketSink sink) {
    const auto parsed = parseFeedAddress(address, kAprsIsDefaultPort);
    if (!parsed) return "aprs-is:HOST:PORT with a port from 1 to 65535 (14580 when left out)";
    return std::make_unique<AprsIsFeed>(*parsed, context.aprsIsLogin, std::move(sink));
}

FeedOrError makeKiss(std::string_view address, const FeedContext&, PacketSink sink) {
    const auto parsed = parseFeedAddress(address, kKissDefaultPort);
    if (!parsed) return "kiss:HOST:PORT with a port from 1 to 65535 (8001 when left out)";
    return std::make_unique<KissFeed>(*parsed, std::move(sink));
}

FeedOrError makeKissSerial(std::string_view device, const FeedContext&, PacketSink sink) {
    const auto parsed = parseSerialDevice(device);
    if (!parsed) return "kiss-serial:DEVICE:BAUD with a speed from 300 to 4000000 (9600 when left out)";
    return std::make_unique<KissFeed>(*parsed, std::move(sink));
}

constexpr std::array kFeedKinds{
    FeedKind{"demo", "demo", false, FeedOrigin::Recorded, makeDemo},
    FeedKind{"replay", "replay:PATH", true, FeedOrigin::Recorded, makeReplay},
    FeedKind{"aprs-is", "aprs-is:HOST:PORT", true, FeedOrigin::Internet, makeAprsIs},
    FeedKind{"kiss", "kiss:HOST:PORT", true, FeedOrigin::Radio, makeKiss},
    FeedKind{"kiss-serial", "kiss-serial:DEVICE:BAUD", true, FeedOrigin::Radio, makeKissSerial},
};

std::string allowedFeeds() {
    std::string text = "a comma-separated list of";
    for (const auto& kind : kFeedKinds) text += std::string(&kind == &kFeedKinds[0] ? " " : ", ") + std::string(kind.usage);
    return text;
}

}  // namespace

bool isFeedOf(std::string_view entry, std::string_view kind) {
    return entry.size() > kind.size() && entry.starts_with(kind) && entry[kind.size()] == ':';
}

bool hasFeed(const std::vector<std::string>& feeds, std::string_view kind) {
    return std::any_of(feeds.begin(), feeds.end(), [kind](const std::string& entry) { return isFeedOf(entry, kind); });
}

std::variant<std::unique_ptr<Feed>, std::string> makeFeed(std::string_view entry, const FeedContext& context) {
    for (const auto& kind : kFeedKinds) {
        if (!entry.starts_with(kind.name)) continue;
        const auto rest = entry.substr(kind.name.size());
        if (!kind.takesArgument && rest.empty()) return kind.make(rest, context, context.sinkFor(kind.origin));
        if (kind.takesArgument && rest.size() > 1 && rest.front() == ':')
            return kind.make(rest.substr(1), context, context.sinkFor(kind.origin));
    }
    return allowedFeeds();
}

}  // namespace ovelsk::aprs
