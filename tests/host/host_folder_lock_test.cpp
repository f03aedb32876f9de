// Whatever stands in the way of the one-instance lock stops the start, and the
// lock lies beside the igate.ini that is really written.
#include "host/host_folder_lock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

#include "support/as_nobody.h"
#include "support/file_call_hooks.h"
#include "support/scratch_folder.h"

namespace ovelsk {
namespace {

namespace fs = std::filesystem;

std::string problemTaking(const fs::path& host) {
    HostFolderLock lock;
    return lock.take(host.string()) == HostFolderLock::Outcome::Taken ? "taken" : lock.problem();
}

TEST(HostFolderLock, ALockThatCannotBeTakenIsRefusedWithItsReason) {
    const struct {
        void (*place)(const fs::path& lock);
        const char* reason;
    } obstacles[] = {
        {[](const fs::path& lock) { fs::create_directory(lock); }, "Is a directory"},
        {[](const fs::path& lock) { fs::create_symlink("elsewhere", lock); }, "it is a symbolic link"},
        {[](const fs::path&) { testing::flockFailure = ENOLCK; }, "No locks available"},
        // As one `sudo ovelsk` leaves it: a lock file this user may not open.
        {[](const fs::path& lock) {
             testing::writeFile(lock, "");
             fs::permissions(lock, fs::perms::none);
         },
         "Permission denied"},
    };
    for (const auto& obstacle : obstacles) {
        testing::ScratchFolder host;
        fs::permissions(host.path(), fs::perms::all);
        obstacle.place(host / "Ovelsk.lock");
        const auto problem = testing::runAsNobody([&] { return problemTaking(host.path()); });
        testing::flockFailure = 0;
        if (!problem) GTEST_SKIP() << "cannot become nobody";
        EXPECT_EQ(*problem, "cannot lock " + (host / "Ovelsk.lock").string() + ": " + obstacle.reason);
    }
}

TEST(HostFolderLock, TwoHostFoldersWhoseIgateIniLeadsToOneFileExcludeEachOther) {
    testing::ScratchFolder scratch;
    const auto real = fs::canonical(scratch.path());
    testing::writeFile(real / "igate.ini", "[INET_TO_RF]\r\n");
    for (const char* folder : {"a", "b"}) {
        fs::create_directory(scratch / folder);
        fs::create_symlink(real / "igate.ini", scratch / folder / "igate.ini");
    }
    HostFolderLock first;
    ASSERT_EQ(first.take((scratch / "a").string()), HostFolderLock::Outcome::Taken);
    EXPECT_THAT(problemTaking(scratch / "b"), ::testing::HasSubstr("(it holds " + (real / "Ovelsk.lock").string() + ")"));
    // The holder says where its status page is; a note not of that shape is not repeated.
    for (const auto& [note, said] : {std::pair{"status page http://127.0.0.1:8080/\n", "; its status page is at http://127.0.0.1:8080/;"},
                                     std::pair{"status page \x1b[2J\n", ");"}, std::pair{"", ");"}}) {
        ASSERT_TRUE(first.describeHolder(note));
        EXPECT_THAT(problemTaking(scratch / "b"),
                    ::testing::HasSubstr(std::string(said) + " run one Ovelsk per host folder"))
            << note;
    }
    // A note outlives its holder in the file, but not the next one's taking.
    ASSERT_TRUE(first.describeHolder("status page http://127.0.0.1:8080/\n"));
    ASSERT_EQ(first.take((scratch / "a").string()), HostFolderLock::Outcome::Taken);
    EXPECT_THAT(problemTaking(scratch / "b"), ::testing::Not(::testing::HasSubstr("status page")));
}

}  // namespace
}  // namespace ovelsk
