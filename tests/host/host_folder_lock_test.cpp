// Whatever stands in the way of the one-instance lock stops the start, and the
// lock lies beside the igate.ini that is really written.
#include "host/host_folder_lock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <sys/stat.h>

#include "support/as_nobody.h"
#include "support/file_call_hooks.h"
#include "support/scratch_folder.h"

namespace ovelsk {
namespace {

namespace fs = std::filesystem;

struct Obstacle {
    const char* name;
    std::function<void(const fs::path& lockFile)> place;
    const char* reason;
};

TEST(HostFolderLock, ALockThatCannotBeTakenIsRefusedWithItsReason) {
    const Obstacle obstacles[] = {
        {"a folder", [](const fs::path& lock) { fs::create_directory(lock); }, "Is a directory"},
        {"a symbolic link", [](const fs::path& lock) { fs::create_symlink(lock.parent_path() / "elsewhere", lock); },
         "it is a symbolic link"},
        {"a file system without locks", [](const fs::path&) { testing::flockFailure = ENOLCK; }, "No locks available"},
    };
    for (const Obstacle& obstacle : obstacles) {
        SCOPED_TRACE(obstacle.name);
        testing::ScratchFolder host;
        const auto lockFile = host / "Ovelsk.lock";
        obstacle.place(lockFile);
        HostFolderLock lock;
        EXPECT_EQ(lock.take(host.path().string()), HostFolderLock::Outcome::Unavailable);
        EXPECT_EQ(lock.problem(), "cannot lock " + lockFile.string() + ": " + obstacle.reason);
        testing::flockFailure = 0;
    }
}

// One `sudo ovelsk` leaves a lock file only root may open.
TEST(HostFolderLock, ALockFileLeftByRootIsRefusedToAnOrdinaryUser) {
    testing::ScratchFolder host;
    fs::permissions(host.path(), fs::perms::all);
    testing::writeFile(host / "Ovelsk.lock", "");
    fs::permissions(host / "Ovelsk.lock", fs::perms::owner_read | fs::perms::owner_write);
    const auto problem = testing::runAsNobody([&] {
        HostFolderLock lock;
        return lock.take(host.path().string()) == HostFolderLock::Outcome::Taken ? std::string("taken") : lock.problem();
    });
    if (!problem) GTEST_SKIP() << "cannot become nobody";
    EXPECT_EQ(*problem, "cannot lock " + (host / "Ovelsk.lock").string() + ": Permission denied");
}

TEST(HostFolderLock, TwoHostFoldersWhoseIgateIniLeadsToOneFileExcludeEachOther) {
    testing::ScratchFolder scratch;
    const auto real = fs::canonical(scratch.path()) / "real";
    fs::create_directories(real);
    testing::writeFile(real / "igate.ini", "[INET_TO_RF]\r\n");
    for (const char* folder : {"a", "b"}) {
        fs::create_directory(scratch / folder);
        fs::create_symlink(real / "igate.ini", scratch / folder / "igate.ini");
    }
    HostFolderLock first;
    HostFolderLock second;
    ASSERT_EQ(first.take((scratch / "a").string()), HostFolderLock::Outcome::Taken);
    EXPECT_EQ(second.take((scratch / "b").string()), HostFolderLock::Outcome::HeldElsewhere);
    EXPECT_THAT(second.problem(), ::testing::HasSubstr("(it holds " + (real / "Ovelsk.lock").string() + ")"));
}

}  // namespace
}  // namespace ovelsk
