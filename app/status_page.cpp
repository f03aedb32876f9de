#include "app/status_page.h"

#include "app/app_log.h"
#include "standin/host_report.h"

namespace ovelsk {

std::unique_ptr<StatusServer> startStatusPage(const Companion& form) {
    // Only a host that reports on itself can be shown; Ovelsk's own does.
    const auto* host = dynamic_cast<const standin::HostReport*>(form.host());
    if (!host || !form.tracker()) return nullptr;
    const auto* address = std::get_if<standin::StatusPageAddress>(&host->identity().statusPage);
    if (!address) return nullptr;

    auto server = std::make_unique<StatusServer>(StatusSources{*host, *form.tracker(), form.clock(),
                                                               [&form] { return form.rangeText(); }, OVELSK_VERSION,
                                                               std::chrono::system_clock::now()});
    if (const auto error = server->listen(*address)) {
        qCCritical(lcStatus, "%s; Ovelsk goes on without it", error->c_str());
        return nullptr;
    }
    standin::StatusPageAddress listening = *address;
    listening.port = server->port();
    if (!address->isLoopback())
        qCWarning(lcStatus, "the status page is visible to the network at http://%s/", listening.text().c_str());
    else
        qCInfo(lcStatus, "the status page is at http://%s/", listening.text().c_str());
    return server;
}

std::string statusPageUrl(const Companion& form, const StatusServer& server) {
    const auto* host = dynamic_cast<const standin::HostReport*>(form.host());
    auto address = std::get<standin::StatusPageAddress>(host->identity().statusPage);
    address.port = server.port();
    return "http://" + address.text() + "/";
}

}  // namespace ovelsk
