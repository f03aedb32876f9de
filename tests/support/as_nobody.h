#pragma once
// Runs a piece of a test as an ordinary user. Root may write into any folder,
// so a test of a read-only folder runs its body in a child process that gives up
// root for "nobody" (uid and gid 65534) first; any other user runs it as itself.

#include <functional>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace ovelsk::testing {

// What `body` returned in the child (or a note that the child failed, which no
// test expects); nullopt when root could not become nobody, for the test to skip.
inline std::optional<std::string> runAsNobody(const std::function<std::string()>& body) {
    constexpr int kCannotDropRoot = 77;
    int channel[2];
    if (::pipe(channel) != 0) return "<no pipe>";
    const pid_t child = ::fork();
    if (child < 0) return "<no child>";
    if (child == 0) {
        ::close(channel[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(kCannotDropRoot);
        const std::string result = body();
        const bool sent = ::write(channel[1], result.data(), result.size()) == ssize_t(result.size());
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    std::string result;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) result.append(buffer, size_t(n));
    ::close(channel[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return "<child ended abnormally>";
    if (WEXITSTATUS(status) == kCannotDropRoot) return std::nullopt;
    if (WEXITSTATUS(status) != 0) return "<child failed>";
    return result;
}

}  // namespace ovelsk::testing
