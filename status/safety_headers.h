#pragma once
// The headers every answer of the status page carries: scripts, styles and
// pictures only from the page itself, no guessing at content types, no caching.

#include <array>
#include <utility>

namespace ovelsk {

inline constexpr std::array<std::pair<const char*, const char*>, 3> kSafetyHeaders{{
    {"Content-Security-Policy", "default-src 'self'; img-src 'self'"},
    {"X-Content-Type-Options", "nosniff"},
    {"Cache-Control", "no-store"},
}};

}  // namespace ovelsk
