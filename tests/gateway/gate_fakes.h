#pragma once
// A TNC the gate tests transmit to: it keeps what it was sent as TNC2 text and
// can be taken away. An APRS-IS server that verified the login (unless told
// otherwise) and keeps what it was sent, unless told to refuse it.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "aprs/ax25_frame.h"
#include "aprs/kiss_deframer.h"
#include "feeds/aprs_is_uplink.h"
#include "feeds/kiss_transmitter.h"

namespace ovelsk::gateway {

class RecordingTransmitter final : public aprs::KissTransmitter {
public:
    bool sendKissFrame(std::string_view frame) override {
        if (!connected) return false;
        deframer_.feed(frame, [this](const aprs::KissFrame& kiss) {
            ports.push_back(kiss.port());
            sent.push_back(aprs::ax25UiFrameToTnc2(kiss.payload).value_or("not an AX.25 UI frame"));
        });
        return true;
    }
    const std::string& transmitterName() const override { return name_; }

    bool connected = true;
    std::vector<std::string> sent;
    std::vector<int> ports;

private:
    aprs::KissDeframer deframer_;
    std::string name_ = "kiss:tnc:8001";
};

class RecordingUplink final : public aprs::AprsIsUplink {
public:
    bool loginVerified() const override { return verified; }
    void addLoginVerifiedHandler(std::function<void()> handler) override { handlers.push_back(std::move(handler)); }
    bool sendPacketLine(std::string_view line) override {
        if (refusal) return false;
        lines.emplace_back(line);
        return true;
    }
    aprs::UplinkRefusal whyNotTaken() const override { return refusal.value_or(aprs::UplinkRefusal::NotConnected); }
    const std::string& uplinkName() const override { return name_; }

    bool verified = true;
    std::optional<aprs::UplinkRefusal> refusal;  // none: every line is taken
    std::vector<std::string> lines;
    std::vector<std::function<void()>> handlers;
    void onLoginVerified() {
        for (const auto& handler : handlers) handler();
    }

private:
    std::string name_ = "aprs-is:server:14580";
};

}  // namespace ovelsk::gateway
