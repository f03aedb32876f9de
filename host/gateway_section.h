#pragma once
// The host's gateway section, as the candidate-list rebuild sees it.

#include <string>
#include <vector>

namespace ovelsk {

class GatewaySection {
public:
    virtual ~GatewaySection() = default;
    // Puts the callsigns of `rows` (candidate-list row texts, in list order) into
    // the host's gateway configuration.
    virtual void WriteIgateSection(const std::vector<std::string>& rows) = 0;
};

}  // namespace ovelsk
