// The controls file: its defaults, the written file, rebinding, and lines that do not parse.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "game/ControlBindings.h"
#include "platform/KeyNames.h"
#include "platform/VirtualKeys.h"

namespace {

namespace fs = std::filesystem;
using game::TControlBindings;
using game::TControlInput;
using game::TRaceAction;
using platform::TPadAxis;
using platform::TPadButton;

// A new empty folder for the running test (CTest runs tests side by side).
std::string FreshDir() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const fs::path dir =
      fs::path(::testing::TempDir()) /
      (std::string("cld-controls-") + test->test_suite_name() + "-" + test->name());
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

constexpr TRaceAction kActions[] = {
    TRaceAction::Throttle,  TRaceAction::Brake, TRaceAction::Left, TRaceAction::Right,
    TRaceAction::Handbrake, TRaceAction::Pause, TRaceAction::Quit, TRaceAction::Recover};

void ExpectDefaults(const TControlBindings& bindings, const std::string& context) {
  for (auto action : kActions) {
    EXPECT_EQ(bindings.Inputs(action), TControlBindings::DefaultInputs(action))
        << TControlBindings::ActionName(action) << " " << context;
  }
}

TEST(ControlBindingsTest, DefaultsDriveWithTheArrowsAndTheStandardControllerLayout) {
  using I = TControlInput;
  const TControlBindings bindings;
  const std::vector<std::pair<TRaceAction, std::vector<I>>> expected = {
      {TRaceAction::Throttle,
       {I::OfKey(platform::VK_UP), I::OfAxis(TPadAxis::RightTrigger, 1),
        I::OfButton(TPadButton::A)}},
      {TRaceAction::Brake,
       {I::OfKey(platform::VK_DOWN), I::OfAxis(TPadAxis::LeftTrigger, 1),
        I::OfButton(TPadButton::B)}},
      {TRaceAction::Left,
       {I::OfKey(platform::VK_LEFT), I::OfAxis(TPadAxis::LeftX, -1),
        I::OfButton(TPadButton::DpadLeft)}},
      {TRaceAction::Right,
       {I::OfKey(platform::VK_RIGHT), I::OfAxis(TPadAxis::LeftX, 1),
        I::OfButton(TPadButton::DpadRight)}},
      {TRaceAction::Handbrake, {I::OfKey(platform::VK_SPACE), I::OfButton(TPadButton::X)}},
      {TRaceAction::Pause, {I::OfKey('P'), I::OfButton(TPadButton::Start)}},
      {TRaceAction::Quit, {I::OfKey(platform::VK_ESCAPE), I::OfButton(TPadButton::Back)}},
      {TRaceAction::Recover, {I::OfKey('R'), I::OfButton(TPadButton::Y)}},
  };
  for (const auto& [action, inputs] : expected) {
    EXPECT_EQ(bindings.Inputs(action), inputs) << TControlBindings::ActionName(action);
  }
}

TEST(ControlBindingsTest, InputsReadAndWriteByTheirNames) {
  using I = TControlInput;
  const std::vector<std::pair<const char*, I>> cases = {
      {"w", I::OfKey('W')},
      {"W", I::OfKey('W')},
      {"7", I::OfKey('7')},
      {"up", I::OfKey(platform::VK_UP)},
      {"space", I::OfKey(platform::VK_SPACE)},
      {"enter", I::OfKey(platform::VK_RETURN)},
      {"f12", I::OfKey(platform::VK_F1 + 11)},
      {"numpad8", I::OfKey(platform::VK_NUMPAD0 + 8)},
      {"rightbracket", I::OfKey(platform::VK_OEM_6)},
      {"pad:a", I::OfButton(TPadButton::A)},
      {"pad:dpleft", I::OfButton(TPadButton::DpadLeft)},
      {"pad:leftshoulder", I::OfButton(TPadButton::LeftShoulder)},
      {"pad:leftx-", I::OfAxis(TPadAxis::LeftX, -1)},
      {"pad:righty+", I::OfAxis(TPadAxis::RightY, 1)},
      {"pad:righttrigger", I::OfAxis(TPadAxis::RightTrigger, 1)},
  };
  for (const auto& [text, input] : cases) {
    I parsed;
    std::string error;
    ASSERT_TRUE(I::Parse(text, parsed, error)) << text << ": " << error;
    EXPECT_EQ(parsed, input) << text;
    I again;
    ASSERT_TRUE(I::Parse(parsed.Name(), again, error)) << parsed.Name();
    EXPECT_EQ(again, input) << parsed.Name();
  }
  EXPECT_EQ(I::OfAxis(TPadAxis::LeftTrigger, 1).Name(), "pad:lefttrigger");
  EXPECT_EQ(I::OfKey(platform::VK_ESCAPE).Name(), "escape");
}

TEST(ControlBindingsTest, EveryKeyTheKeyboardCanSendHasANameThatReadsBack) {
  std::set<std::string> names;
  for (int32_t key = 1; key < 256; ++key) {
    if (platform::SdlKeyOf(key) == SDLK_UNKNOWN) continue;
    const std::string name = platform::KeyName(key);
    ASSERT_FALSE(name.empty()) << key;
    EXPECT_TRUE(names.insert(name).second) << "two keys named " << name;
    EXPECT_EQ(platform::KeyOfName(name), key) << name;
  }
  EXPECT_EQ(platform::KeyOfName("Escape"), platform::VK_ESCAPE);
  EXPECT_EQ(platform::KeyOfName("f25"), 0);
  EXPECT_EQ(platform::KeyOfName("numpad10"), 0);
  EXPECT_EQ(platform::KeyOfName("pad:a"), 0);
}

TEST(ControlBindingsTest, AMissingFileIsWrittenWithTheDefaultsAndACommentPerLine) {
  const std::string path = FreshDir() + "/controls.ini";
  TControlBindings bindings;
  ::testing::internal::CaptureStderr();
  bindings.LoadOrCreate(path);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  ExpectDefaults(bindings, "after writing");
  const std::string text = ReadFile(path);
  EXPECT_NE(text.find("throttle = up, pad:righttrigger, pad:a\n"), std::string::npos) << text;
  EXPECT_NE(text.find("quit = escape, pad:back\n"), std::string::npos) << text;
  EXPECT_NE(text.find("recover = r, pad:y\n"), std::string::npos) << text;
  // Every setting line comes right after its own comment.
  std::istringstream lines(text);
  std::string line;
  std::string previous;
  int settings = 0;
  while (std::getline(lines, line)) {
    if (!line.empty() && line[0] != ';') {
      ++settings;
      EXPECT_EQ(previous.rfind("; ", 0), 0u) << "no comment above '" << line << "'";
    }
    previous = line;
  }
  EXPECT_EQ(settings, static_cast<int>(game::kRaceActionCount));
  // Read back, the written file gives the defaults without a complaint.
  TControlBindings reread;
  reread.LoadOrCreate(path);
  EXPECT_TRUE(reread.Problems().empty());
  ExpectDefaults(reread, "read back");
}

TEST(ControlBindingsTest, ThePlayersEditsAreReadAndNeverOverwritten) {
  const std::string path = FreshDir() + "/controls.ini";
  const std::string edited =
      "; mine\n[controls]\nTHROTTLE = w, pad:rightshoulder  ; w for gas\nhandbrake = ctrl\n";
  std::ofstream(path, std::ios::binary) << edited;
  TControlBindings bindings;
  bindings.LoadOrCreate(path);
  EXPECT_TRUE(bindings.Problems().empty());
  EXPECT_EQ(
      bindings.Inputs(TRaceAction::Throttle),
      (std::vector{TControlInput::OfKey('W'), TControlInput::OfButton(TPadButton::RightShoulder)}));
  EXPECT_EQ(bindings.Inputs(TRaceAction::Handbrake),
            std::vector{TControlInput::OfKey(platform::VK_CONTROL)});
  EXPECT_EQ(bindings.Inputs(TRaceAction::Brake),
            TControlBindings::DefaultInputs(TRaceAction::Brake));
  EXPECT_EQ(ReadFile(path), edited);
}

TEST(ControlBindingsTest, ALineThatDoesNotParseKeepsItsDefaultAndIsReportedOnce) {
  struct TCase {
    const char* Line;
    const char* Problem;
  };
  const TCase cases[] = {
      {"throttle = w, jetpack",
       "controls.ini line 2: unknown key 'jetpack'; throttle keeps its default"},
      {"brake = pad:leftx",
       "controls.ini line 2: say which way the axis goes: 'leftx+' or 'leftx-'; brake keeps its "
       "default"},
      {"left = pad:lefttrigger-",
       "controls.ini line 2: a trigger only moves one way: 'lefttrigger-'; left keeps its default"},
      {"right = pad:turbo",
       "controls.ini line 2: unknown controller button or axis 'turbo'; right keeps its default"},
      {"handbrake =", "controls.ini line 2: no inputs; handbrake keeps its default"},
      {"pause = p,, f1", "controls.ini line 2: unknown key ''; pause keeps its default"},
      {"jump = space", "controls.ini line 2: unknown action 'jump'"},
      {"quit escape",
       "controls.ini line 2: expected ACTION = INPUT, INPUT, ... but found 'quit escape'"},
  };
  for (const auto& c : cases) {
    const std::string path = FreshDir() + "/controls.ini";
    const std::string text = std::string("; broken\n") + c.Line + "\n";
    std::ofstream(path, std::ios::binary) << text;
    TControlBindings bindings;
    ::testing::internal::CaptureStderr();
    bindings.LoadOrCreate(path);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), std::string(c.Problem) + "\n") << c.Line;
    ExpectDefaults(bindings, c.Line);
    EXPECT_EQ(ReadFile(path), text) << c.Line;
  }
}

TEST(ControlBindingsTest, ABrokenLineLeavesTheOtherLinesWorking) {
  TControlBindings bindings;
  bindings.Parse("throttle = w\nbrake = ???\nleft = a\n");
  ASSERT_EQ(bindings.Problems().size(), 1u);
  EXPECT_EQ(bindings.Inputs(TRaceAction::Throttle), std::vector{TControlInput::OfKey('W')});
  EXPECT_EQ(bindings.Inputs(TRaceAction::Brake),
            TControlBindings::DefaultInputs(TRaceAction::Brake));
  EXPECT_EQ(bindings.Inputs(TRaceAction::Left), std::vector{TControlInput::OfKey('A')});
}

TEST(ControlBindingsTest, WindowsLineEndsAndAByteOrderMarkAreRead) {
  TControlBindings bindings;
  bindings.Parse("\xEF\xBB\xBFthrottle = w\r\n; comment\r\nbrake = s, pad:b\r\n");
  EXPECT_TRUE(bindings.Problems().empty());
  EXPECT_EQ(bindings.Inputs(TRaceAction::Throttle), std::vector{TControlInput::OfKey('W')});
  EXPECT_EQ(bindings.Inputs(TRaceAction::Brake),
            (std::vector{TControlInput::OfKey('S'), TControlInput::OfButton(TPadButton::B)}));
}

TEST(ControlBindingsTest, AnUnwritableFolderLeavesTheDefaultsAndSaysSo) {
  const std::string path = FreshDir() + "/no-such-folder/controls.ini";
  TControlBindings bindings;
  ::testing::internal::CaptureStderr();
  bindings.LoadOrCreate(path);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "cannot write '" + path + "'; using the defaults\n");
  ExpectDefaults(bindings, "unwritable");
}

}  // namespace
