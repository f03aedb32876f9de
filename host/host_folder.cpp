#include "host/host_folder.h"

#include <string>

namespace ovelsk {

std::filesystem::path hostFolderFile(std::string_view hostFolder, std::string_view fileName) {
    while (hostFolder.size() > 1 && hostFolder.back() == '/') hostFolder.remove_suffix(1);
    std::string joined(hostFolder);
    if (joined != "/") joined += '/';
    joined += fileName;
    return joined;
}

}  // namespace ovelsk
