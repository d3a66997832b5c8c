// The track-tool command line: exit codes and messages of its commands.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "TrackFile.h"
#include "TrackTestSupport.h"

namespace {

/// Output (stdout and stderr) and exit status of one run of the tool.
struct RunResult {
  std::string Output;
  int Status;
};

RunResult RunTool(const std::string& arguments) {
  const std::string command = std::string(CLD_TRACK_TOOL) + " " + arguments + " 2>&1";
  RunResult result{"", -1};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 512> buffer{};
  while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) {
    result.Output += buffer.data();
  }
  const int status = pclose(pipe);
  result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TEST(TrackTool, CompileValidateDumpAndRenderASource) {
  const std::string folder = tracktest::TempFolder("tool");
  std::ofstream(folder + "/small.txt") << tracktest::SmallTrackSource();
  const RunResult compiled = RunTool("compile " + folder + "/small.txt " + folder + "/small.prd");
  EXPECT_EQ(compiled.Status, 0) << compiled.Output;
  EXPECT_NE(compiled.Output.find("small.prd: 38 records"), std::string::npos) << compiled.Output;
  EXPECT_EQ(RunTool("validate " + folder + "/small.prd --opponents 4").Status, 0);
  const RunResult dump = RunTool("dump " + folder + "/small.prd");
  EXPECT_EQ(dump.Status, 0);
  EXPECT_NE(dump.Output.find("0 finish 708 80 0 0\n"), std::string::npos) << dump.Output;
  EXPECT_EQ(RunTool("render " + folder + "/small.prd " + folder + "/small.png --size 64x48").Status,
            0);
}

TEST(TrackTool, ValidateFailsNamingTrackRuleAndPlace) {
  const std::string folder = tracktest::TempFolder("tool-bad");
  auto records = tracktest::SmallTrack();
  records.push_back({400, 1200, tracktool::Kind::Obstacle, 0, 8});
  tracktool::WriteTrackFile(folder + "/data5.prd", records);
  const RunResult result = RunTool("validate " + folder + "/data5.prd --opponents 4");
  EXPECT_EQ(result.Status, 1);
  EXPECT_NE(result.Output.find("data5.prd: obstacles: obstacle"), std::string::npos)
      << result.Output;
  EXPECT_NE(result.Output.find("at (1200, 400)"), std::string::npos) << result.Output;
}

TEST(TrackTool, BadCommandLinesShowUsage) {
  for (const char* arguments : {"", "fly", "validate x.prd", "validate x.prd --opponents 9",
                                "render a b --size 0x10", "dump a b"}) {
    const RunResult result = RunTool(arguments);
    EXPECT_EQ(result.Status, 2) << arguments;
    EXPECT_NE(result.Output.find("usage:"), std::string::npos) << arguments;
  }
}

TEST(TrackTool, UnreadableInputFailsWithAMessage) {
  const RunResult result = RunTool("dump /nonexistent/data1.prd");
  EXPECT_EQ(result.Status, 1);
  EXPECT_NE(result.Output.find("cannot read /nonexistent/data1.prd"), std::string::npos);
}

}  // namespace
