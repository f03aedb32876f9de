#include "host/igate_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <random>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <utility>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "host/igate_text.h"
#include "support/as_nobody.h"
#include "support/file_call_hooks.h"
#include "support/scratch_folder.h"

namespace ovelsk {
namespace {

using testing::readFile;
using testing::ScratchFolder;
using testing::writeFile;

using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::string row(std::string_view callsign) { return "3.5\t" + std::string(callsign) + "\t\tnot heard via RF\t45"; }

std::vector<std::string> rows(std::string_view prefix, int count) {
    std::vector<std::string> result;
    for (int i = 0; i < count; ++i) result.push_back(row(std::string(prefix) + std::to_string(i)));
    return result;
}

// A host folder with an igate.ini, and a writer that collects what it reports.
class IgateFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = (scratch / "host").string();
        std::filesystem::create_directory(folder);
    }

    std::filesystem::path igateIni() const { return std::filesystem::path(folder) / "igate.ini"; }
    std::filesystem::path igateTmp() const { return std::filesystem::path(folder) / "igate.tmp"; }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    ScratchFolder scratch;
    std::string folder;
    std::vector<std::string> errors;
    IgateFile writer{folder, [this](const std::string& message) { errors.push_back(message); }};
};

const std::string kUserFile = "[GENERAL]\r\nCALL=N0CALL\r\n[INET_TO_RF]\r\nW1AW=ALL\r\n";

TEST_F(IgateFileTest, RewritesIgateIniInTheHostFolderAndLeavesNoTemporaryFile) {
    writeFile(igateIni(), kUserFile);
    writer.WriteIgateSection({row("G4ABC")});
    EXPECT_EQ(readFile(igateIni()), rewriteIgateText(kUserFile, {row("G4ABC")}));
    EXPECT_THAT(entries(), ::testing::ElementsAre("igate.ini"));
    EXPECT_THAT(errors, IsEmpty());
}

TEST_F(IgateFileTest, ReadsTheHostFolderAtEveryCall) {
    const std::string found = folder;
    folder.clear();
    writeFile(std::filesystem::path(found) / "igate.ini", kUserFile);
    writer.WriteIgateSection({row("G4ABC")});  // host folder not known yet: nothing happens
    EXPECT_EQ(readFile(std::filesystem::path(found) / "igate.ini"), kUserFile);

    folder = found + "/";
    writer.WriteIgateSection({row("G4ABC")});
    EXPECT_EQ(readFile(igateIni()), rewriteIgateText(kUserFile, {row("G4ABC")}));
    EXPECT_THAT(errors, IsEmpty());
}

TEST_F(IgateFileTest, MissingIgateIniIsSkippedSilently) {
    writer.WriteIgateSection({row("G4ABC")});
    EXPECT_THAT(entries(), IsEmpty());
    EXPECT_THAT(errors, IsEmpty());
}

TEST_F(IgateFileTest, UnchangedContentIsNotWrittenAtAll) {
    const auto current = rewriteIgateText(kUserFile, {row("G4ABC")});
    writeFile(igateIni(), current);
    struct stat before {};
    ASSERT_EQ(::stat(igateIni().c_str(), &before), 0);
    // Any attempt to write would trip over this folder and be reported.
    std::filesystem::create_directory(igateTmp());

    writer.WriteIgateSection({row("G4ABC")});

    struct stat after {};
    ASSERT_EQ(::stat(igateIni().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(readFile(igateIni()), current);
    EXPECT_THAT(errors, IsEmpty());
}

TEST_F(IgateFileTest, HandEditOfASettledFileIsStillSeen) {
    writeFile(igateIni(), kUserFile);
    writer.WriteIgateSection({row("G4ABC")});
    writer.WriteIgateSection({row("G4ABC")});  // nothing to change now
    writeFile(igateIni(), readFile(igateIni()) + "; note\n");
    writer.WriteIgateSection({row("G4ABC")});
    EXPECT_EQ(readFile(igateIni()), rewriteIgateText(kUserFile, {row("G4ABC")}) + "; note\r\n");
    writer.WriteIgateSection({row("K1XYZ")});
    EXPECT_EQ(readFile(igateIni()), rewriteIgateText(kUserFile, {row("K1XYZ")}) + "; note\r\n");
}

TEST_F(IgateFileTest, FailedWriteKeepsTheOldFileAndIsReportedOnceNamingTheFileThatFailed) {
    writeFile(igateIni(), kUserFile);
    std::filesystem::create_directory(igateTmp());
    writer.WriteIgateSection({row("G4ABC")});
    writer.WriteIgateSection({row("K1XYZ")});
    EXPECT_EQ(readFile(igateIni()), kUserFile);
    EXPECT_THAT(entries(), ::testing::ElementsAre("igate.ini", "igate.tmp"));
    EXPECT_TRUE(std::filesystem::is_empty(igateTmp()));
    EXPECT_THAT(errors, ::testing::ElementsAre("Cannot write " + igateTmp().string() + ": Is a directory"));
}

// A name left at igate.tmp, by a crash or planted, is taken away, never written through.
TEST_F(IgateFileTest, LinkPlantedAsTheTemporaryFileIsNotFollowed) {
    const auto victim = std::filesystem::path(folder) / "victim.txt";
    using Plant = void (*)(const std::filesystem::path&, const std::filesystem::path&);
    for (const Plant plant : {Plant{std::filesystem::create_symlink}, Plant{std::filesystem::create_hard_link}}) {
        writeFile(igateIni(), kUserFile);
        writeFile(victim, "precious\n");
        plant(victim, igateTmp());
        writer.WriteIgateSection({row("G4ABC")});
        EXPECT_EQ(readFile(victim), "precious\n");
        EXPECT_EQ(readFile(igateIni()), rewriteIgateText(kUserFile, {row("G4ABC")}));
        EXPECT_THAT(entries(), ::testing::ElementsAre("igate.ini", "victim.txt"));
        EXPECT_THAT(errors, IsEmpty());
        std::filesystem::remove(victim);
    }
}

TEST_F(IgateFileTest, FolderNamedIgateIniIsReportedAndLeftAlone) {
    std::filesystem::create_directory(igateIni());
    writer.WriteIgateSection({row("G4ABC")});
    EXPECT_TRUE(std::filesystem::is_directory(igateIni()));
    EXPECT_TRUE(std::filesystem::is_empty(igateIni()));
    EXPECT_THAT(entries(), ::testing::ElementsAre("igate.ini"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_THAT(errors[0], HasSubstr("Cannot read " + igateIni().string()));
}

TEST_F(IgateFileTest, FifoNamedIgateIniDoesNotHoldTheProgram) {
    ASSERT_EQ(::mkfifo(igateIni().c_str(), 0644), 0);
    writer.WriteIgateSection({row("G4ABC")});
    EXPECT_TRUE(std::filesystem::is_fifo(igateIni()));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_THAT(errors[0], HasSubstr("not a regular file"));
}

TEST_F(IgateFileTest, ReadOnlyHostFolderKeepsTheFileAndIsReported) {
    writeFile(igateIni(), kUserFile);
    using std::filesystem::perms;
    std::filesystem::permissions(scratch.path(), perms::owner_all | perms::group_exec | perms::others_exec);
    std::filesystem::permissions(folder, perms::owner_read | perms::owner_exec | perms::group_read |
                                             perms::group_exec | perms::others_read | perms::others_exec);

    const auto reported = testing::runAsNobody([&] {
        std::string message;
        IgateFile childWriter(folder, [&](const std::string& error) { message = error; });
        childWriter.WriteIgateSection({row("G4ABC")});
        return message;
    });
    if (!reported) GTEST_SKIP() << "running as root and cannot become nobody";

    EXPECT_EQ(readFile(igateIni()), kUserFile);
    EXPECT_THAT(entries(), ::testing::ElementsAre("igate.ini"));
    EXPECT_THAT(*reported, HasSubstr(igateIni().string()));
    EXPECT_THAT(*reported, HasSubstr("Permission denied"));
}

TEST_F(IgateFileTest, LargeFileKeepsEveryLine) {
    std::string big;
    for (int i = 0; i < 64'000; ++i) {
        if (i == 32'000) big += "[INET_TO_RF]\r\n";
        big += "USER" + std::to_string(i) + "=ALL ; a line the user wrote by hand, kept as it is\r\n";
    }
    ASSERT_GT(big.size(), 3'800'000u);
    ASSERT_LT(big.size(), kMaxIgateFileSize);
    writeFile(igateIni(), big);
    const auto candidates = rows("N", 151);

    writer.WriteIgateSection(candidates);

    const auto afterHeader = big.find("[INET_TO_RF]\r\n") + 14;
    std::string block = std::string(kIgateStartMarker) + "\r\n";
    for (int i = 0; i < 151; ++i) block += "N" + std::to_string(i) + "=ALL\r\n";
    block += std::string(kIgateEndMarker) + "\r\n";
    // Compared whole, not printed: a difference in 4 MB would flood the log.
    EXPECT_TRUE(readFile(igateIni()) == big.substr(0, afterHeader) + block + big.substr(afterHeader));
    EXPECT_THAT(entries(), ::testing::ElementsAre("igate.ini"));
    EXPECT_THAT(errors, IsEmpty());
}

// Every shape of igate.ini a user may have, after one rewrite: the exact bytes,
// mode and owner of the file, what else is in the folders, and what was reported.
struct FileShape {
    std::string name;
    std::string (*before)();
    std::string after;  // "" for the bytes of before(), untouched
    mode_t mode = 0644;
    enum { Plain, Link, DanglingLink } kind = Plain;
    std::string report = {};  // "VERB|REASON": reported once as "VERB .../igate.ini: ...REASON..."; "" for none
};

const std::vector<std::string> kShapeRows = {row("G4ABC")};

std::string utf16(std::string_view text) {
    std::string wide = "\xFF\xFE";
    for (const char c : text) wide += {c, '\0'};
    return wide;
}

const FileShape kFileShapes[] = {
    {"ModeAndOwner", [] { return kUserFile; }, rewriteIgateText(kUserFile, kShapeRows), 0664},
    {"ReadOnly", [] { return kUserFile; }, "", 0444, FileShape::Plain, "Cannot write|"},
    {"Symlink", [] { return kUserFile; }, rewriteIgateText(kUserFile, kShapeRows), 0640, FileShape::Link},
    {"DanglingLink", [] { return std::string(); }, "", 0644, FileShape::DanglingLink,
     "Cannot read|a symbolic link to"},
    {"LoneCrLineEnds", [] { return std::string("[GENERAL]\rCALL=N0CALL\r[INET_TO_RF]\rW1AW=ALL\r"); },
     rewriteIgateText(kUserFile, kShapeRows)},
    {"CrCrLfLineEnds", [] { return std::string("[GENERAL]\r\r\nCALL=N0CALL\r\r\n[INET_TO_RF]\r\r\nW1AW=ALL\r\r\n"); },
     rewriteIgateText(kUserFile, kShapeRows)},
    {"Utf16", [] { return utf16(kUserFile); }, "", 0644, FileShape::Plain, "Cannot write|saved as UTF-16"},
    {"NoHeader", [] { return std::string("[GENERAL]\nCALL=N0CALL\nlast line"); }, ""},
    {"FiveMegabytes",
     [] {
         std::string big = "[INET_TO_RF]\r\n";
         while (big.size() < 5'000'000) big += "USER=ALL ; a line the user wrote by hand\r\n";
         return big;
     },
     "", 0644, FileShape::Plain, "Cannot write|more than the 4 MiB"},
};

class IgateFileShapeTest : public IgateFileTest, public ::testing::WithParamInterface<FileShape> {
protected:
    void SetUp() override {
        IgateFileTest::SetUp();
        oldUmask = ::umask(022);
        std::filesystem::create_directory(elsewhere());
    }
    void TearDown() override { ::umask(oldUmask); }
    std::filesystem::path elsewhere() const { return scratch / "elsewhere"; }

    mode_t oldUmask = 0;
};

TEST_P(IgateFileShapeTest, OneRewriteKeepsBytesAndMetadataAsTheyShouldBe) {
    const FileShape& shape = GetParam();
    const bool root = ::geteuid() == 0;  // then the file is given to "nobody", as if the host ran as that user
    const auto file = shape.kind == FileShape::Plain ? igateIni() : elsewhere() / "gateway.ini";
    const std::string before = shape.before();
    if (shape.kind == FileShape::DanglingLink) {
        std::filesystem::create_symlink(file, igateIni());
    } else {
        writeFile(file, before);
        ASSERT_EQ(::chmod(file.c_str(), shape.mode), 0);
        if (root) {
            ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
        }
        if (shape.kind == FileShape::Link) std::filesystem::create_symlink(file, igateIni());
    }

    writer.WriteIgateSection(kShapeRows);
    writer.WriteIgateSection(kShapeRows);  // reported once only

    EXPECT_EQ(std::filesystem::is_symlink(igateIni()), shape.kind != FileShape::Plain);
    EXPECT_THAT(entries(), ::testing::ElementsAre("igate.ini"));
    std::vector<std::string> elsewhereEntries;
    for (const auto& entry : std::filesystem::directory_iterator(elsewhere())) {
        elsewhereEntries.push_back(entry.path().filename());
    }
    if (shape.kind == FileShape::Link) {
        EXPECT_THAT(elsewhereEntries, ::testing::ElementsAre("gateway.ini"));
    } else {
        EXPECT_THAT(elsewhereEntries, IsEmpty());
    }
    if (shape.kind != FileShape::DanglingLink) {
        // Compared whole, not printed: the large file would flood the log.
        EXPECT_TRUE(readFile(file) == (shape.after.empty() ? before : shape.after)) << readFile(file).substr(0, 200);
        struct stat info {};
        ASSERT_EQ(::stat(file.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, shape.mode);
        if (root) {
            EXPECT_EQ(info.st_uid, 65534u);
            EXPECT_EQ(info.st_gid, 65534u);
        }
    }
    if (shape.report.empty()) {
        EXPECT_THAT(errors, IsEmpty());
    } else {
        const auto bar = shape.report.find('|');
        ASSERT_EQ(errors.size(), 1u) << ::testing::PrintToString(errors);
        EXPECT_THAT(errors[0], ::testing::StartsWith(shape.report.substr(0, bar) + " " + igateIni().string() + ": "));
        EXPECT_THAT(errors[0], HasSubstr(shape.report.substr(bar + 1)));
    }
}

INSTANTIATE_TEST_SUITE_P(IgateFileShapes, IgateFileShapeTest, ::testing::ValuesIn(kFileShapes),
                         [](const auto& info) { return info.param.name; });

// Hand edits saved at the worst moment, just as a rewrite is about to take the
// file's place, in both ways editors save (a new file renamed over it, or the
// file rewritten in place), while the list keeps changing: every edit survives.
TEST_F(IgateFileTest, HandEditsSavedDuringRewritesAreNeverLost) {
    writeFile(igateIni(), kUserFile);
    constexpr int kEdits = 300;
    const auto seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    int edits = 0;
    bool puttingBack = false;  // a save was just made: the next call puts it back
    testing::beforeFileCall = [&](const std::string& call) {
        if (!call.starts_with("exchange ") && !call.starts_with("rename ")) return;
        if (std::exchange(puttingBack, false) || edits == kEdits || random() % 2 == 0) return;
        const auto edited = readFile(igateIni()) + "; edit " + std::to_string(edits++) + "\r\n";
        if (random() % 2 == 0) {
            writeFile(igateIni(), edited);
        } else {
            const auto saved = std::filesystem::path(folder) / "igate.ini~";
            writeFile(saved, edited);
            ASSERT_EQ(::syscall(SYS_renameat2, AT_FDCWD, saved.c_str(), AT_FDCWD, igateIni().c_str(), 0), 0);
        }
        puttingBack = true;
    };
    IgateFile racing(folder, {}, false);
    const auto rowsA = rows("A", 20);
    const auto rowsB = rows("BB", 20);
    for (int i = 0; edits < kEdits; ++i) racing.WriteIgateSection(i % 2 == 0 ? rowsA : rowsB);
    testing::beforeFileCall = nullptr;
    racing.WriteIgateSection(rowsA);

    const auto after = readFile(igateIni());
    int lost = 0;
    for (int i = 0; i < kEdits; ++i) lost += after.find("; edit " + std::to_string(i) + "\r\n") == std::string::npos;
    EXPECT_EQ(lost, 0);
    EXPECT_THAT(after, HasSubstr(rewriteIgateText("[INET_TO_RF]\r\n", rowsA)));
}

// An editor that saves in place (opens the file, truncates it, writes, closes)
// racing the rewrites, straight away or pausing between opening and writing: a
// save that lands in the version just replaced is still kept.
TEST_F(IgateFileTest, SavesInPlaceRacingRewritesAreNeverLost) {
    const auto rowsA = rows("A", 20);
    const auto rowsB = rows("BB", 20);
    for (const auto pause : {std::chrono::microseconds(0), std::chrono::microseconds(2000)}) {
        SCOPED_TRACE("pause " + std::to_string(pause.count()) + " us");
        writeFile(igateIni(), kUserFile);
        std::atomic<int> calls = 0;
        std::atomic<bool> done = false;
        int lost = 0;
        std::thread editor([&] {
            for (int i = 0; i < 120; ++i) {
                const auto mark = "; save " + std::to_string(i) + "\r\n";
                const auto edited = readFile(igateIni()) + mark;
                const int fd = ::open(igateIni().c_str(), O_WRONLY | O_CLOEXEC);
                std::this_thread::sleep_for(pause);
                EXPECT_EQ(::ftruncate(fd, 0), 0);
                EXPECT_EQ(::write(fd, edited.data(), edited.size()), static_cast<ssize_t>(edited.size()));
                ::close(fd);
                // Once the writer has had its next full turn, the save must be in the file.
                for (const int seen = calls; calls < seen + 2;) std::this_thread::yield();
                lost += readFile(igateIni()).find(mark) == std::string::npos;
            }
            done = true;
        });
        // Paced as the program's own flushed rewrites are, not back to back: where
        // the file system grants no leases, a replaced version is watched only
        // until ReplacedVersions::kMaxHeld newer ones have been put aside.
        IgateFile racing(folder, {}, false);
        for (int i = 0; !done; ++i, ++calls) {
            racing.WriteIgateSection(i % 2 == 0 ? rowsA : rowsB);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        editor.join();
        EXPECT_EQ(lost, 0);
    }
}

// A writer killed at any instant leaves igate.ini as one of the complete versions.
TEST_F(IgateFileTest, KilledWhileWritingLeavesOneCompleteVersion) {
    std::string initial;
    for (int i = 0; i < 200; ++i) initial += "; user line " + std::to_string(i) + "\r\n";
    initial += "[INET_TO_RF]\r\n";
    writeFile(igateIni(), initial);
    const auto rowsA = rows("A", 151);
    const auto rowsB = rows("BB", 151);
    const auto textA = rewriteIgateText(initial, rowsA);
    const auto textB = rewriteIgateText(initial, rowsB);

    const auto seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    for (int kill = 0; kill < 200; ++kill) {
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(progress[0]);
            IgateFile childWriter(folder, {}, kill % 2 == 0);
            for (int i = 0;; ++i) {
                childWriter.WriteIgateSection(i % 2 == 0 ? rowsA : rowsB);
                if (::write(progress[1], "w", 1) != 1) ::_exit(1);
            }
        }
        ::close(progress[1]);
        // Let the child finish 0 to 3 writes, then kill it a random moment later.
        const int completed = std::uniform_int_distribution<int>(0, 3)(random);
        char done;
        for (int i = 0; i < completed; ++i) ASSERT_EQ(::read(progress[0], &done, 1), 1);
        const int spin = std::uniform_int_distribution<int>(0, 50'000)(random);
        for (std::atomic<int> spun{0}; spun.fetch_add(1, std::memory_order_relaxed) < spin;) {
        }
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ::close(progress[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself";

        const auto now = readFile(igateIni());
        const bool complete = now == textA || now == textB || (completed == 0 && now == initial);
        ASSERT_TRUE(complete) << "after kill " << kill << ", " << completed << " writes done: " << now.size()
                              << " bytes";
    }

    // A temporary file left by a killed writer does not hold up the next one.
    writer.WriteIgateSection({row("LAST")});
    EXPECT_EQ(readFile(igateIni()), rewriteIgateText(initial, {row("LAST")}));
    EXPECT_THAT(entries(), ::testing::ElementsAre("igate.ini"));
    EXPECT_THAT(errors, IsEmpty());
}

}  // namespace
}  // namespace ovelsk
