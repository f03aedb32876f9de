#pragma once
// Which Host headers the status page answers. A web page elsewhere whose name
// is made to point at this machine (DNS rebinding) sends its own name as Host;
// the page answers only names that can only mean this machine, or that the
// user named:
//   an IP address literal, v4 or [v6], with or without a port
//   localhost, this machine's host name, and that name with .local
//   the names of the Status Page Names setting
// Letter case and one trailing dot aside.

#include <string>
#include <string_view>
#include <vector>

namespace ovelsk {

class HostRule {
public:
    HostRule(std::string machineName, std::vector<std::string> names);

    bool allows(std::string_view host) const;

private:
    std::vector<std::string> names_;  // lower case
};

}  // namespace ovelsk
