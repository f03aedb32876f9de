#pragma once
// Every key of the host settings section, with the help a first start writes
// above it, so the settings file explains itself. A key missing here is reported
// as unknown at start-up: add a key here when the host learns to read one.

#include <span>
#include <string>
#include <string_view>

#include "host/host_settings.h"

namespace ovelsk::standin {

struct SettingKey {
    std::string_view name;
    // What the key means, its default and what it allows; one comment line each.
    std::string_view help;
    // What a first start writes for a key left commented out (the live feeds'
    // login, the gateway): an example the user completes. Empty for the keys a
    // first start sets.
    std::string_view example = {};
};

std::span<const SettingKey> settingKeys();

// The known key nearest to `name` in spelling (letter case aside).
std::string_view nearestSettingKey(std::string_view name);

// One warning per key of the section that is not a setting, naming the nearest
// known one: "Feed" is not a setting; did you mean "Feeds"?
std::vector<std::string> unknownSettingWarnings(const HostSettings& settings);

// The text of the settings file a first start writes: a comment above every key,
// the set keys with `values` in the order of settingKeys(), the others commented out.
struct FirstStartValue {
    std::string_view key;
    std::string value;
};
std::string commentedSettingsText(std::span<const FirstStartValue> values);

}  // namespace ovelsk::standin
