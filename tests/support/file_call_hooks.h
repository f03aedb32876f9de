#pragma once
// The host tests' own fsync, rename, renameat2 and flock stand in front of the C
// library's (tests/host/file_call_hooks.cpp), so a test can see in which order
// files are flushed and put in place, or act at that instant.

#include <functional>
#include <string>

namespace ovelsk::testing {

// Called before each such call is passed on, with "fsync PATH", "rename FROM TO"
// or "exchange FROM TO" (renameat2 with RENAME_EXCHANGE); PATH is the file's
// real path. Empty: nothing is called.
inline std::function<void(const std::string& call)> beforeFileCall;

// When not 0, flock fails with this errno (ENOLCK: a file system without locks).
inline int flockFailure = 0;

}  // namespace ovelsk::testing
