#pragma once

#include <memory>

#include "host/host_application.h"

namespace ovelsk {

// The one place the program's host object is made.
std::unique_ptr<HostApplication> createHost();

}  // namespace ovelsk
