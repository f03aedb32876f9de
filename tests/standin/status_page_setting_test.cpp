// The Status Page setting as start-up reads it: off, a port on loopback, or a
// numeric address with a port; anything else stops start-up with the key named.
#include "standin/status_page_setting.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "standin/host_config.h"
#include "support/scratch_folder.h"

namespace ovelsk::standin {
namespace {

TEST(StatusPageSetting, ReadsOffPortsAndAddresses) {
    struct Case {
        std::string_view text;
        std::optional<StatusPageSetting> setting;
    };
    const Case cases[] = {
        {"", StatusPageOff{}},
        {"off", StatusPageOff{}},
        {"OFF", StatusPageOff{}},
        {"8080", StatusPageAddress{"127.0.0.1", 8080}},
        {" 8080 ", StatusPageAddress{"127.0.0.1", 8080}},
        {"192.168.1.5:80", StatusPageAddress{"192.168.1.5", 80}},
        {"0.0.0.0:8080", StatusPageAddress{"0.0.0.0", 8080}},
        {"[::1]:8080", StatusPageAddress{"::1", 8080}},
        {"[fe80::1%eth0]:8080", std::nullopt},
        {"::1:8080", std::nullopt},
        {"localhost:8080", std::nullopt},
        {"0", std::nullopt},
        {"65536", std::nullopt},
        {"8080x", std::nullopt},
        {"-1", std::nullopt},
        {"127.0.0.1:", std::nullopt},
        {"[::1]8080", std::nullopt},
        {"on", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseStatusPageSetting(c.text), c.setting) << c.text;
}

TEST(StatusPageSetting, ABadValueStopsStartUpNamingTheKey) {
    testing::ScratchFolder folder;
    testing::writeFile(folder / "UI-View32.ini", "[UI-View32]\nLatitude=40\nLongitude=-105\nStatus Page=localhost:80\n");
    HostSettings settings(folder / "UI-View32.ini");
    ASSERT_FALSE(settings.load());
    const auto config = readHostConfig(settings);
    ASSERT_TRUE(std::holds_alternative<std::string>(config));
    EXPECT_THAT(std::get<std::string>(config), ::testing::HasSubstr("\"Status Page\" is \"localhost:80\"; allowed: off"));
}

TEST(StatusPageSetting, ReadsStatusPageNames) {
    using Names = std::vector<std::string>;
    struct Case {
        std::string text;
        std::optional<Names> names;
    };
    const Case cases[] = {
        {"", Names{}},
        {"  ", Names{}},
        {"igate.lan", Names{"igate.lan"}},
        {" IGate.LAN , shack-pi.example.org", Names{"igate.lan", "shack-pi.example.org"}},
        {"pi", Names{"pi"}},
        {"igate.lan,", std::nullopt},
        {"igate..lan", std::nullopt},
        {"-igate.lan", std::nullopt},
        {"igate-.lan", std::nullopt},
        {"igate.lan:8080", std::nullopt},
        {"evil example", std::nullopt},
        {"igate_lan", std::nullopt},
        {"*.lan", std::nullopt},
        {std::string(64, 'a') + ".lan", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseStatusPageNames(c.text), c.names) << c.text;
}

TEST(StatusPageSetting, StatusPageNamesGoWithTheAddressAndABadOneStopsStartUp) {
    testing::ScratchFolder folder;
    const auto read = [&folder](const std::string& names) {
        testing::writeFile(folder / "UI-View32.ini", "[UI-View32]\nLatitude=40\nLongitude=-105\nStatus Page=8080\n"
                                                     "Status Page Names=" + names + "\n");
        HostSettings settings(folder / "UI-View32.ini");
        EXPECT_FALSE(settings.load());
        return readHostConfig(settings);
    };
    const auto good = read("igate.lan");
    ASSERT_TRUE(std::holds_alternative<HostConfig>(good));
    EXPECT_EQ(std::get<StatusPageAddress>(std::get<HostConfig>(good).statusPage).names,
              std::vector<std::string>{"igate.lan"});
    const auto bad = read("evil example");
    ASSERT_TRUE(std::holds_alternative<std::string>(bad));
    EXPECT_THAT(std::get<std::string>(bad), ::testing::HasSubstr("\"Status Page Names\" is \"evil example\"; allowed: "));
}

}  // namespace
}  // namespace ovelsk::standin
