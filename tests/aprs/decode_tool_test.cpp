// The ovelsk-decode report: its line format in-process, and the built tool end
// to end on LF and CRLF input.

#include "aprs/decode_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace ovelsk::aprs {
namespace {

using namespace std::string_literals;

TEST(DecodeTool, ReportsPositionsWithSixDecimalsAndDropsWithTheReason)
{
    EXPECT_EQ(decodeReportLine("N0CALL-9>APRS,WIDE1-1,WIDE2-1:!4903.50N/07201.75W-Test"),
              "OK\tN0CALL-9\tAPRS,WIDE1-1,WIDE2-1\t49.058333\t-72.029167");
    EXPECT_EQ(decodeReportLine("N0CALL>APRS:@092345z4903.50S/07201.75E>"), "OK\tN0CALL\tAPRS\t-49.058333\t72.029167");
    EXPECT_EQ(decodeReportLine("N1GATE>APRS:}W1ABC-5>APRS,qAR,N1GATE:=4903.50N/07201.75W-\r"),
              "OK\tW1ABC-5\tAPRS,qAR,N1GATE\t49.058333\t-72.029167");
    EXPECT_EQ(decodeReportLine("N0CALL>APRS:>status only\r"), "DROP\tstatus");
    EXPECT_EQ(decodeReportLine(""), "DROP\tmalformed header");
}

struct ToolRun {
    int exitStatus;
    std::string output;  // standard output, then standard error
};

// `redirections` come after standard error is joined to the output read.
ToolRun runTool(const std::string& arguments, const std::string& redirections = "</dev/null")
{
    const std::filesystem::path tool = std::filesystem::path(OVELSK_BINARY_DIR) / "aprs/ovelsk-decode";
    FILE* pipe = popen(("'" + tool.string() + "' " + arguments + " 2>&1 " + redirections).c_str(), "r");
    std::string output;
    for (int c = 0; pipe && (c = std::fgetc(pipe)) != EOF;) {
        output.push_back(static_cast<char>(c));
    }
    const int status = pipe ? pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(DecodeTool, AnswersHelpAndVersionAndRefusesAnUnknownArgumentWithExitTwo)
{
    const ToolRun help = runTool("--help");
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.output.rfind("Usage: ovelsk-decode", 0), 0u) << help.output;
    EXPECT_EQ(runTool("--version").output, "ovelsk-decode 1.0.0\n");
    const ToolRun refused = runTool("--bogus");
    EXPECT_EQ(refused.exitStatus, 2);
    EXPECT_EQ(refused.output.rfind("ovelsk-decode: unknown argument '--bogus'", 0), 0u) << refused.output;
    EXPECT_NE(refused.output.find("Usage:"), std::string::npos);
}

TEST(DecodeTool, OutputThatCannotBeWrittenExitsOneSayingWhy)
{
    for (const auto& [arguments, input] : {std::pair{"--version", "/dev/null"}, std::pair{"--help", "/dev/null"},
                                           std::pair{"", OVELSK_SOURCE_DIR "/samples/demo-feed.txt"}}) {
        const ToolRun full = runTool(arguments, ">/dev/full <'"s + input + "'");
        EXPECT_EQ(full.exitStatus, 1) << arguments;
        EXPECT_EQ(full.output, "ovelsk-decode: cannot write to standard output: No space left on device\n") << arguments;
    }
}

TEST(DecodeTool, BuiltToolReadsLfAndCrlfLines)
{
    const std::filesystem::path tool = std::filesystem::path(OVELSK_BINARY_DIR) / "aprs/ovelsk-decode";
    ASSERT_TRUE(std::filesystem::exists(tool)) << tool;
    const std::filesystem::path input = std::filesystem::path(::testing::TempDir()) / "decode_tool_input.txt";
    {
        std::ofstream out(input, std::ios::binary);
        out << "N0CALL-9>APRS,WIDE1-1:!4903.50N/07201.75W-\r\n"
            << "N0CALL>APRS:;OBJ      *092345z4903.50N/07201.75W-\n"
            << "\n"
            << "N0CALL>TYPS5P:`dYg\x1c\x1cO>/ NUL\0 in comment"s << "\n"
            << "N0CALL=X>APRS:!4903.50N/07201.75W-";
    }
    FILE* pipe = popen(("'" + tool.string() + "' < '" + input.string() + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    for (int c = 0; (c = std::fgetc(pipe)) != EOF;) {
        output.push_back(static_cast<char>(c));
    }
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(output,
              "OK\tN0CALL-9\tAPRS,WIDE1-1\t49.058333\t-72.029167\n"
              "DROP\tobject\n"
              "DROP\tmalformed header\n"
              "OK\tN0CALL\tTYPS5P\t49.058333\t-72.029167\n"
              "DROP\tbad callsign\n");
    std::filesystem::remove(input);
}

}  // namespace
}  // namespace ovelsk::aprs
