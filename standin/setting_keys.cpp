#include "standin/setting_keys.h"

#include <algorithm>
#include <cctype>
#include <numeric>
#include <vector>

#include "feeds/log_text.h"
#include "host/settings_text.h"
#include "gateway/beacon_config.h"
#include "gateway/gate_config.h"
#include "standin/host_config.h"

namespace ovelsk::standin {
namespace {

constexpr SettingKey kKeys[] = {
    {kProgramFolderKey,
     "The host folder: Ovelsk keeps the iGate's list in igate.ini there. The absolute\n"
     "path of an existing folder (~ is not expanded); empty keeps no igate.ini."},
    {kLatitudeKey, "Home latitude in decimal degrees, -90 to 90, north positive. Required."},
    {kLongitudeKey, "Home longitude in decimal degrees, -180 to 180, east positive. Required."},
    {kDistanceUnitKey, "The distance unit of the lists and of Ovelsk's range: mi (the default) or km."},
    {kFeedsKey,
     "Where packets come from, comma-separated; none by default:\n"
     "  demo               the bundled traffic, in a loop\n"
     "  replay:PATH        a recorded file, one \"TIME CHANNEL PACKET\" a line\n"
     "  aprs-is:HOST:PORT  an APRS-IS server (port 14580 when left out), one at most; needs\n"
     "                     Callsign. A name such as rotate.aprs2.net beats an IP address:\n"
     "                     it is looked up again at every connection\n"
     "  kiss:HOST:PORT     a TNC serving KISS over TCP, such as Direwolf (port 8001 when left out)\n"
     "  kiss-serial:DEVICE:BAUD  a TNC on a serial port, such as /dev/ttyUSB0 (9600 baud when\n"
     "                     left out); the user must be in the dialout group\n"
     "For example: Feeds=aprs-is:rotate.aprs2.net, kiss:localhost:8001"},
    {kReplaySpeedKey, "How much faster than recorded replay and demo feeds play: a number greater than 0.\n"
                      "Default 1 (real time)."},
    {kCallsignKey,
     "The station's callsign, 1 to 9 letters, digits and \"-\"; the aprs-is feed logs in\n"
     "with it and needs it. No default.",
     "N0CALL-10"},
    {kPasscodeKey, "The APRS-IS passcode of the callsign, 0 to 32767; -1 (the default) receives only.", "-1"},
    {kFilterKey,
     "The APRS-IS server filter, on one line. Default: r/LAT/LON/KM, Ovelsk's range\n"
     "around home.",
     "r/40.015/-105.2705/65"},
    {gateway::kGateToRfKey,
     "The gateway to radio, for the stations Ovelsk lists in igate.ini: off (the default),\n"
     "log (decide and log on standard error, never transmit) or on (transmit through the\n"
     "first kiss or kiss-serial feed; needs a real Callsign, an aprs-is feed and a TNC feed).\n"
     "The licensed operator is responsible for what is transmitted."},
    {gateway::kGateViaKey, "The digipeater path of gated frames: one or two addresses such as WIDE1-1 (the\n"
                  "default) or WIDE1-1,WIDE2-1, at most two hops in all (WIDEn-N asks N), or empty\n"
                  "for none.",
     "WIDE1-1"},
    {gateway::kGateLimitKey, "At most N gated frames a minute and M in any 5 minutes, as N/M; default 6/20,\n"
                    "at most 20/80.",
     "6/20"},
    {gateway::kGatePortKey, "The TNC's radio port gated frames go out on, 0 to 15; default 0.", "0"},
    {gateway::kGateMessagesKey,
     "Messages from the Internet to stations heard on radio, with Gate To RF log or on:\n"
     "M/H gates those to a station heard in the last M minutes at most H digipeater hops\n"
     "away (default 180/1), and the sender's next position after one; off gates none.\n"
     "The server sends messages only for stations this iGate sent it: needs Gate To Internet=on.",
     "180/1"},
    {gateway::kGateDelayKey,
     "Seconds, 0 (the default) to 10, that a listed station's frame waits before it goes out;\n"
     "it is dropped when another iGate sends it meanwhile. Messages never wait.",
     "0"},
    {gateway::kGateToInternetKey,
     "The gateway to the Internet: off (the default) or on (every packet a kiss or\n"
     "kiss-serial feed hears goes to the APRS-IS server, as an iGate sends it;\n"
     "needs a Passcode the server verifies).",
     "off"},
    {gateway::kTelemetryKey,
     "off (the default) or on: the iGate's traffic goes to the APRS-IS server as telemetry\n"
     "every 10 minutes (per-minute averages of packets heard on radio, gated to APRS-IS,\n"
     "gated to radio, messages gated to radio, and the stations a message would reach),\n"
     "for the maps' graphs; needs an aprs-is feed and a Passcode the server verifies.",
     "off"},
    {gateway::kBeaconKey,
     "The iGate's own position report, sent to APRS-IS once the server verifies the login\n"
     "and every Beacon Interval minutes: on (the default) or off. None is sent while\n"
     "Latitude and Longitude are still the demo's home.",
     "on"},
    {gateway::kBeaconIntervalKey, "Minutes between beacons, 10 to 1440; default 30.", "30"},
    {gateway::kBeaconCommentKey, "The beacon's comment, at most 43 characters of printable ASCII; default Ovelsk iGate.",
     "Ovelsk iGate"},
    {gateway::kBeaconToRfKey,
     "off (the default) or on: the beacon is also transmitted through the TNC on Gate Port,\n"
     "by Gate Via; needs Gate To RF=on.",
     "off"},
    {kStatusPageKey,
     "A read-only status page in a browser (the lists, the radar, every gate decision):\n"
     "off (the default), PORT (on 127.0.0.1), ADDRESS:PORT or [IPv6 ADDRESS]:PORT. An\n"
     "address other than loopback shows the page to the network.",
     "8080"},
    {kStatusPageNamesKey,
     "DNS names the status page answers to, comma-separated, such as igate.lan; none by\n"
     "default. It always answers to IP addresses, localhost and this machine's name (also\n"
     "with .local); a request for any other name is refused, so that no web page elsewhere\n"
     "can read the page through the browser of someone who can reach it.",
     "igate.lan"},
};

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Edits (insert, delete, replace) that turn a into b, letter case aside.
std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

void appendComment(std::string& text, std::string_view help) {
    while (!help.empty()) {
        const auto end = help.find('\n');
        text += "; ";
        text += help.substr(0, end);
        text += '\n';
        if (end == std::string_view::npos) break;
        help.remove_prefix(end + 1);
    }
}

}  // namespace

std::span<const SettingKey> settingKeys() { return kKeys; }

std::string_view nearestSettingKey(std::string_view name) {
    return std::min_element(std::begin(kKeys), std::end(kKeys),
                            [name](const SettingKey& a, const SettingKey& b) {
                                return editDistance(name, a.name) < editDistance(name, b.name);
                            })
        ->name;
}

std::vector<std::string> unknownSettingWarnings(const HostSettings& settings) {
    std::vector<std::string> warnings;
    for (const auto& key : settings.keys()) {
        const bool known = std::any_of(std::begin(kKeys), std::end(kKeys),
                                       [&key](const SettingKey& k) { return equalsIgnoringCase(k.name, key); });
        if (known) continue;
        warnings.push_back("Host settings " + settings.path().string() + ": \"" + aprs::valueForLog(key) +
                           "\" is not a setting; did you mean \"" + std::string(nearestSettingKey(key)) + "\"?");
    }
    return warnings;
}

std::string commentedSettingsText(std::span<const FirstStartValue> values) {
    std::string text =
        "; Ovelsk's host settings. Lines starting with \";\" are comments; remove the \";\"\n"
        "; before a key to set it. Ovelsk reads this file when it starts, and stops with a\n"
        "; message naming the key when a value is not allowed.\n"
        "[" + std::string(kHostSettingsSection) + "]\n";
    for (const SettingKey& key : kKeys) {
        text += '\n';
        appendComment(text, key.help);
        const auto set = std::find_if(values.begin(), values.end(),
                                      [&key](const FirstStartValue& v) { return v.key == key.name; });
        if (set != values.end()) {
            text += std::string(key.name) + "=" + set->value + "\n";
        } else {
            text += ";" + std::string(key.name) + "=" + std::string(key.example) + "\n";
        }
    }
    return text;
}

}  // namespace ovelsk::standin
