#include "host/host_registration.h"

#include <system_error>

#include "host/atomic_file.h"
#include "host/host_folder.h"

namespace ovelsk {
namespace {

void reportProblem(std::ostream& errors, std::string_view what, const std::filesystem::path& path,
                   std::string_view reason) {
    errors << what << ' ' << path.string() << ": " << reason << '\n';
}

}  // namespace

std::string RegisterWithHost(const std::filesystem::path& executable, const std::filesystem::path& settingsFile,
                             std::ostream& errors) {
    HostSettings settings(settingsFile);
    if (const auto failed = settings.load()) {
        reportProblem(errors, "cannot read the host settings", settingsFile, failed->reason);
        return {};
    }
    std::string hostFolder = settings.value(kProgramFolderKey).value_or("");
    if (hostFolder.empty()) return hostFolder;

    const auto registration = hostFolderFile(hostFolder, kRegistrationFileName);
    const auto cannotRegister = [&](std::string_view reason) {
        reportProblem(errors, "cannot write the add-on registration", registration, reason);
        return hostFolder;
    };

    // Written once: an existing registration is never rewritten.
    std::error_code ec;
    const auto existing = std::filesystem::symlink_status(registration, ec);
    if (std::filesystem::is_directory(existing)) return cannotRegister("a folder has that name");
    if (std::filesystem::exists(existing)) return hostFolder;
    if (existing.type() != std::filesystem::file_type::not_found) return cannotRegister(ec.message());

    const auto program = std::filesystem::absolute(executable, ec).lexically_normal();
    if (ec) return cannotRegister(ec.message());
    // The host reads line 2 as one quoted path.
    if (program.native().find_first_of("\"\r\n") != std::string::npos) {
        return cannotRegister("the program path " + program.string() + " holds a quote or line break");
    }
    const std::string text = "Ovelsk\r\n\"" + program.string() + "\"\r\nTrue\r\nTrue\r\n";

    auto temp = registration;
    temp += ".tmp";
    if (const auto failed = replaceFileAtomically(registration, temp, text)) return cannotRegister(failed->reason);
    return hostFolder;
}

}  // namespace ovelsk
