#include "host/atomic_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/file_call_hooks.h"
#include "support/scratch_folder.h"

namespace ovelsk {
namespace {

// What a crash right after the rename may keep is the new name; the content is
// only sure to be there if it was flushed first.
TEST(AtomicFile, NewContentReachesTheDiskBeforeItTakesTheOldOnesPlace) {
    testing::ScratchFolder scratch;
    const auto folder = std::filesystem::canonical(scratch.path());
    const auto target = folder / "igate.ini";
    const auto temp = folder / "igate.tmp";
    testing::writeFile(target, "old\r\n");

    std::vector<std::string> calls;
    testing::beforeFileCall = [&](const std::string& call) { calls.push_back(call); };
    const auto plain = replaceFileAtomically(target, temp, "new\r\n");
    const auto checked = replaceFileAtomically(target, temp, "newer\r\n", true, fileStamp(target));
    testing::beforeFileCall = nullptr;

    EXPECT_FALSE(plain);
    EXPECT_FALSE(checked);
    EXPECT_THAT(calls, ::testing::ElementsAre("fsync " + temp.string(), "rename " + temp.string() + " " + target.string(),
                                              "fsync " + folder.string(), "fsync " + temp.string(),
                                              "exchange " + temp.string() + " " + target.string(),
                                              "fsync " + folder.string()));
    EXPECT_EQ(testing::readFile(target), "newer\r\n");
}

}  // namespace
}  // namespace ovelsk
