// Loading, saving and guarding the range, in the file and in the window.
#include <QPushButton>
#include <gtest/gtest.h>

#include "app/range_settings.h"
#include "form_harness.h"
#include "support/as_nobody.h"

namespace ovelsk::test {
namespace {

QString loadedRange(const std::string& fileContent) {
    FormHarness h;
    h.writeFile("Ovelsk.ini", fileContent);
    h.start();
    return h.range();
}

TEST(RangeSetting, LoadTakesTheTextAfterTheKeyTheLastLineWinning) {
    EXPECT_EQ(loadedRange("RANGE_FILTER=25\r\n"), "25");
    EXPECT_EQ(loadedRange("RANGE_FILTER=25"), "25");
    EXPECT_EQ(loadedRange("RANGE_FILTER=2|5\r\n"), "2,5");
    EXPECT_EQ(loadedRange("RANGE_FILTER=10\nRANGE_FILTER=30\n"), "30");
    EXPECT_EQ(loadedRange("RANGE_FILTER=12.5\rother=1\r"), "12.5");
    EXPECT_EQ(loadedRange("RANGE_FILTER=\r\n"), "");
}

TEST(RangeSetting, LoadCountsCharactersFromTheEndWhereverTheKeyStands) {
    EXPECT_EQ(loadedRange("# RANGE_FILTER=25\r\n"), "R=25");
    EXPECT_EQ(rangeFromSettingsText("|RANGE_FILTER=7"), "=7");
    EXPECT_EQ(rangeFromSettingsText(QString::fromUtf8("RANGE_FILTER=\xc3\xa9" "5")), QString::fromUtf8("\xc3\xa9" "5"));
}

TEST(RangeSetting, LoadIgnoresOtherKeysAndTheKeyInLowerCase) {
    EXPECT_EQ(loadedRange("range_filter=25\r\n"), "40");
    EXPECT_EQ(loadedRange("RANGE=25\r\n\r\n"), "40");
    EXPECT_EQ(loadedRange(""), "40");
}

TEST(RangeSetting, ASettingsPathThatIsNoFileLeavesTheBoxAlone) {
    FormHarness h;
    std::filesystem::create_directory(h.folder.path() / "Ovelsk.ini");
    h.start();
    EXPECT_EQ(h.range(), "40");
}

std::vector<QString> warnings;

void keepWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg) warnings.push_back(message);
}

TEST(RangeSetting, AnUnreadableSettingsFileLeavesTheBoxAtItsValueWithANoteOnStandardError) {
    FormHarness h;
    // A file that exists but fails on reading, whoever runs the test.
    std::filesystem::create_symlink("/proc/self/mem", h.folder.path() / "Ovelsk.ini");
    warnings.clear();
    const auto previous = qInstallMessageHandler(keepWarning);
    h.start();
    qInstallMessageHandler(previous);
    EXPECT_EQ(h.range(), "40");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].contains("Ovelsk.ini")) << warnings[0].toStdString();
    EXPECT_EQ(h.statusLines, std::vector<QString>{"v1.0.0"});
}

TEST(RangeSetting, ZeroTypedOrLoadedBecomesOneAndNothingElseChanges) {
    FormHarness h;
    h.start();
    auto* box = h.control<QLineEdit>("range");
    box->selectAll();
    box->insert("0");
    EXPECT_EQ(h.range(), "1");
    for (const char* kept : {"00", "0.0", "", " 0", "0 ", "abc"}) {
        box->setText(QString::fromLatin1(kept));
        EXPECT_EQ(h.range(), kept);
    }
}

TEST(RangeSetting, TheOneLineBoxKeepsTheTextUpToTheFirstLineBreak) {
    FormHarness h;
    h.start();
    auto* box = h.control<QLineEdit>("range");
    box->selectAll();
    box->insert("25\n");  // pasted with its line end
    EXPECT_EQ(h.range(), "25");
    box->setText("12.5\r\n30");
    EXPECT_EQ(h.range(), "12.5");
    box->setText("0\n");
    EXPECT_EQ(h.range(), "1");
    h.control<QPushButton>("Command1")->click();
    EXPECT_EQ(h.readFile("Ovelsk.ini"), "RANGE_FILTER=1\r\n");
}

TEST(RangeSetting, SaveReplacesTheFileWithOneLineThatTheNextStartLoads) {
    for (const char* typed : {"25", "", "12.5", "abc"}) {
        SCOPED_TRACE(typed);
        FormHarness first;
        first.writeFile("Ovelsk.ini", "# notes\r\nRANGE_FILTER=30\r\n");
        first.start();
        first.control<QLineEdit>("range")->setText(QString::fromLatin1(typed));
        first.control<QPushButton>("Command1")->click();
        EXPECT_EQ(first.readFile("Ovelsk.ini"), std::string("RANGE_FILTER=") + typed + "\r\n");
        EXPECT_FALSE(std::filesystem::exists(first.folder.path() / "Ovelsk.tmp"));
        EXPECT_EQ(first.status(), "v1.0.0");

        FormHarness second;
        std::filesystem::copy_file(first.folder.path() / "Ovelsk.ini", second.folder.path() / "Ovelsk.ini");
        second.start();
        EXPECT_EQ(second.range(), typed);
    }
}

TEST(RangeSetting, AFailingSaveKeepsTheOldFileAndSaysWhyOnTheStatusLine) {
    FormHarness h;
    h.writeFile("Ovelsk.ini", "RANGE_FILTER=25\r\n");
    h.start();
    // The temporary file's name is taken by a folder, so it cannot be written.
    std::filesystem::create_directory(h.folder.path() / "Ovelsk.tmp");
    h.control<QLineEdit>("range")->setText("15");
    h.control<QPushButton>("Command1")->click();
    EXPECT_EQ(h.status(), "Range not saved: Is a directory");
    EXPECT_EQ(h.statusLines.back(), "Range not saved: Is a directory");
    EXPECT_EQ(h.readFile("Ovelsk.ini"), "RANGE_FILTER=25\r\n");
    EXPECT_EQ(h.range(), "15");
}

// An installed copy: the program's folder is read-only to its user.
TEST(RangeSetting, AReadOnlyProgramFolderSavesAndLoadsThePerUserFile) {
    testing::ScratchFolder scratch;
    const RangeSettingsFolders folders{scratch / "bin", scratch / "config" / "ovelsk"};
    using std::filesystem::perms;
    std::filesystem::create_directory(folders.programFolder);
    testing::writeFile(folders.programFolder / "Ovelsk.ini", "RANGE_FILTER=30\r\n");
    std::filesystem::create_directory(scratch / "config");
    std::filesystem::permissions(scratch.path(), perms::owner_all | perms::group_exec | perms::others_exec);
    std::filesystem::permissions(folders.programFolder, perms::owner_read | perms::owner_exec | perms::group_read |
                                                            perms::group_exec | perms::others_read | perms::others_exec);
    std::filesystem::permissions(scratch / "config", perms::all);

    const auto reported = testing::runAsNobody([&] {
        std::string report = readRangeSetting(folders).range.value_or("none").toStdString();  // before any SAVE
        const auto error = saveRangeSetting(folders, "25");
        report += " " + (error ? error->reason : std::string("saved"));
        return report + " " + readRangeSetting(folders).range.value_or("none").toStdString();
    });
    if (!reported) GTEST_SKIP() << "cannot run as nobody";
    EXPECT_EQ(*reported, "30 saved 25");
    EXPECT_EQ(testing::readFile(folders.userFolder / "Ovelsk.ini"), "RANGE_FILTER=25\r\n");
    EXPECT_EQ(testing::readFile(folders.programFolder / "Ovelsk.ini"), "RANGE_FILTER=30\r\n");
    EXPECT_FALSE(std::filesystem::exists(folders.userFolder / "Ovelsk.tmp"));
}

// Root can write to /usr/bin, but a packaged program's folder is not the place
// for a user's setting.
TEST(RangeSetting, AnInstalledCopySavesInTheUserFolderEvenForRoot) {
    testing::ScratchFolder scratch;
    for (const char* installed : {"/usr/bin", "/usr/local/bin", "/usr/../usr/bin"}) {
        const RangeSettingsFolders folders{installed, scratch / "config"};
        EXPECT_EQ(rangeSettingsFolderToSave(folders), folders.userFolder) << installed;
    }
    EXPECT_EQ(rangeSettingsFolderToSave({scratch.path(), scratch / "config"}), scratch.path());
}

}  // namespace
}  // namespace ovelsk::test
