// "options.ini": the defaults of a missing file, every value of every option, damaged lines
// that keep their default and are reported once, and the safe write that reads back the same.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "SettingsTestSupport.h"
#include "game/OptionsIni.h"
#include "game/SafeFileWriter.h"

namespace {

using game::TCameraMode;
using game::TOptionsIni;
using settings_test::FreshDir;
using settings_test::ReadBytes;
using settings_test::WriteBytes;

std::string OptionsPath(const std::string& tag = "") {
  return FreshDir(tag) + "/" + TOptionsIni::kFileName;
}

TEST(OptionsIni, AMissingFileMeansTheDefaultsAndNoComplaint) {
  const std::string path = OptionsPath();
  TOptionsIni options;
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(options.Load(path));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(options.Camera, TCameraMode::LookAhead);
  EXPECT_TRUE(options.Problems().empty());
  EXPECT_FALSE(std::filesystem::exists(path)) << "reading never writes the file";
}

// A file's text and the camera it gives, without a problem.
struct TValueCase {
  const char* Name;
  const char* Text;
  TCameraMode Camera;
};

class OptionsValue : public ::testing::TestWithParam<TValueCase> {};

TEST_P(OptionsValue, IsReadWithoutAComplaint) {
  const std::string path = OptionsPath();
  WriteBytes(path, GetParam().Text);
  TOptionsIni options;
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(options.Load(path));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(options.Problems().empty()) << options.Problems().front();
  EXPECT_EQ(options.Camera, GetParam().Camera);
}

const TValueCase kValues[] = {
    {"LookAhead", "camera = look-ahead\n", TCameraMode::LookAhead},
    {"Classic", "camera = classic\n", TCameraMode::Classic},
    {"NoSpaces", "camera=classic", TCameraMode::Classic},
    {"CaseAndBlanks", "  CAMERA\t=  Classic \r\n", TCameraMode::Classic},
    {"TrailingComment", "camera = classic ; the old view\n", TCameraMode::Classic},
    {"ByteOrderMark",
     "\xEF\xBB\xBF"
     "camera = classic\n",
     TCameraMode::Classic},
    {"CommentsSectionsAndBlankLines", "; mine\n# also mine\n\n[view]\ncamera = classic\n",
     TCameraMode::Classic},
    {"TheLastLineWins", "camera = classic\ncamera = look-ahead\n", TCameraMode::LookAhead},
    {"EmptyFile", "", TCameraMode::LookAhead},
};

INSTANTIATE_TEST_SUITE_P(Cases, OptionsValue, ::testing::ValuesIn(kValues),
                         [](const auto& test) { return std::string(test.param.Name); });

// A damaged file: what each line gives and the one message it is reported with.
struct TDamageCase {
  const char* Name;
  const char* Text;
  TCameraMode Camera;
  const char* Message;
};

class OptionsDamage : public ::testing::TestWithParam<TDamageCase> {};

TEST_P(OptionsDamage, KeepsTheDefaultAndIsReportedOnce) {
  const std::string path = OptionsPath();
  WriteBytes(path, GetParam().Text);
  TOptionsIni options;
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(options.Load(path));
  const std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(options.Camera, GetParam().Camera);
  ASSERT_EQ(options.Problems().size(), 1u);
  EXPECT_EQ(options.Problems()[0], GetParam().Message);
  EXPECT_EQ(errors, std::string(GetParam().Message) + "\n");
  EXPECT_EQ(ReadBytes(path), GetParam().Text) << "a damaged file is left as it is until a save";
}

const TDamageCase kDamage[] = {
    {"UnknownValue", "camera = chase\n", TCameraMode::LookAhead,
     "options.ini line 1: camera must be look-ahead or classic, not 'chase'; camera keeps its "
     "default"},
    {"EmptyValue", "; view\ncamera =\n", TCameraMode::LookAhead,
     "options.ini line 2: camera must be look-ahead or classic, not ''; camera keeps its "
     "default"},
    {"NoEquals", "camera classic\n", TCameraMode::LookAhead,
     "options.ini line 1: expected NAME = VALUE but found 'camera classic'"},
    {"UnknownOption", "zoom = 2\ncamera = classic\n", TCameraMode::Classic,
     "options.ini line 1: unknown option 'zoom'"},
    {"BinaryJunk", "\x01\x02\xFF\n", TCameraMode::LookAhead,
     "options.ini line 1: expected NAME = VALUE but found '\x01\x02\xFF'"},
    {"AGoodLineBeforeIsKept", "camera = classic\ncamera = sideways\n", TCameraMode::Classic,
     "options.ini line 2: camera must be look-ahead or classic, not 'sideways'; camera keeps its "
     "default"},
};

INSTANTIATE_TEST_SUITE_P(Cases, OptionsDamage, ::testing::ValuesIn(kDamage),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(OptionsIni, EveryValueIsWrittenTheSafeWayAndReadsBackTheSame) {
  for (const TCameraMode mode : game::kCameraModes) {
    const std::string path = OptionsPath(game::CameraModeName(mode));
    TOptionsIni written;
    written.Camera = mode;
    std::string error;
    ASSERT_TRUE(written.Save(path, error)) << error;
    EXPECT_FALSE(std::filesystem::exists(game::TSafeFileWriter::TemporaryPath(path)));
    const std::string text = ReadBytes(path);
    EXPECT_NE(text.find("\ncamera = " + game::CameraModeName(mode) + "\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("; How the race's view follows your car:"), std::string::npos) << text;
    TOptionsIni read;
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(read.Load(path));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(read.Camera, mode);
  }
}

TEST(OptionsIni, ASaveReplacesADamagedFileWithAWholeOne) {
  const std::string path = OptionsPath();
  WriteBytes(path, "camera = ???\n");
  TOptionsIni options;
  ::testing::internal::CaptureStderr();
  options.Load(path);
  ::testing::internal::GetCapturedStderr();
  std::string error;
  ASSERT_TRUE(options.Save(path, error)) << error;
  TOptionsIni again;
  EXPECT_TRUE(again.Load(path));
  EXPECT_TRUE(again.Problems().empty());
  EXPECT_EQ(again.Camera, TCameraMode::LookAhead);
}

TEST(OptionsIni, TheGamesSaveWritesAMissingFileAndNeverThePlayersOwn) {
  const std::string path = OptionsPath();
  TOptionsIni options;
  std::string error;
  ASSERT_TRUE(options.SaveIfMissing(path, error)) << error;
  EXPECT_EQ(ReadBytes(path), options.Text());
  const std::string mine = "; my view\ncamera = classic   # no swinging\ncamera = bogus\n";
  WriteBytes(path, mine);
  options.Camera = TCameraMode::Classic;
  EXPECT_TRUE(options.SaveIfMissing(path, error)) << error;
  EXPECT_EQ(ReadBytes(path), mine);
}

TEST(OptionsIni, AFileThatCannotBeWrittenSaysWhyAndKeepsTheOldOne) {
  const std::string dir = FreshDir();
  const std::string path = dir + "/missing-folder/" + TOptionsIni::kFileName;
  TOptionsIni options;
  std::string error;
  EXPECT_FALSE(options.Save(path, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
