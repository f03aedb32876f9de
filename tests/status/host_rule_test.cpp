// Which Host headers the status page answers: names that can only mean this
// machine, and the ones the user named; never a name a web page elsewhere can
// point here (DNS rebinding).
#include "status/host_rule.h"

#include <gtest/gtest.h>

namespace ovelsk {
namespace {

TEST(HostRule, AnswersAddressesLocalhostThisMachineAndTheNamedOnly) {
    const HostRule rule("Shack-Pi", {"igate.lan"});
    struct Case {
        std::string_view host;
        bool allowed;
    };
    const Case cases[] = {
        {"127.0.0.1", true},
        {"192.168.1.5:8080", true},
        {"[::1]", true},
        {"[::1]:8080", true},
        {"[fe80::1]:80", true},
        {"localhost", true},
        {"LOCALHOST:8080", true},
        {"localhost.", true},
        {"shack-pi", true},
        {"shack-pi.local:8080", true},
        {"igate.lan", true},
        {"IGATE.LAN:80", true},
        {"evil.example", false},
        {"evil.example:8080", false},
        {"localhost.evil.example", false},
        {"127.0.0.1.evil.example", false},
        {"shack-pi.evil.example", false},
        {"igate.lan.evil.example", false},
        {"", false},
        {":8080", false},
        {"localhost:", false},
        {"localhost:http", false},
        {"127.0.0.1:80:80", false},
        {"::1", false},
        {"[::1", false},
        {"[::1]x", false},
        {"[evil.example]", false},
        {"127.1", false},
        {"0x7f.0.0.1", false},
    };
    for (const auto& c : cases) EXPECT_EQ(rule.allows(c.host), c.allowed) << c.host;
}

}  // namespace
}  // namespace ovelsk
