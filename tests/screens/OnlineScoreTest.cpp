// Sending the score from the results of a whole race: the real game on autopilot, the real
// score service on 127.0.0.1, and the service's page read back.

#include <gtest/gtest.h>

#include <string>

#include "GameRun.h"
#include "RaceScript.h"
#include "ScoreServerProcess.h"
#include "ServiceRequests.h"
#include "platform/HttpClient.h"

namespace {

using testgame::At;
using testgame::IntoTheRace;
using testgame::MenuFrame;
using testgame::TGameRun;
using testgame::ThroughTheResults;
using testgame::WriteProfile;

// Where a click lands on the results' "b_yes1" (send the score) once "bro_next" is gone.
const char* const kSend = "click 344 365";

TEST(OnlineScore, AScoreSentFromTheResultsAppearsOnTheServicePage) {
  servertest::TTempFolder folder;
  servertest::TScoreServerProcess server(folder.Path() + "/scores.db");
  TGameRun run("send");
  WriteProfile(run, 0);
  const long raceEnd = MenuFrame + 9000;
  const std::string script = IntoTheRace() + ThroughTheResults(MenuFrame + 3000, raceEnd, kSend);
  ASSERT_EQ(run.Run(script, raceEnd + 100, {"--autopilot", "--score-server", server.Address()}), 0)
      << run.Errors();
  ASSERT_EQ(run.States(), (std::vector<int>{3, 4, 14, 15, 12, 16, 14})) << run.Errors();
  EXPECT_EQ(run.Errors().find("Can't connect to server!"), std::string::npos) << run.Errors();

  game::TGameSettings settings;
  ASSERT_TRUE(run.ReadSettings(settings));
  const int32_t score = settings.Profiles.Profiles[0].Score;
  EXPECT_GT(score, 0) << "a race on autopilot ends in the first three";
  platform::THttpClient browser;
  const std::string page =
      browser.Get(server.Address() + "/cgi/version.pl?prg=CometLaneDerby&show&type=0");
  const std::string row =
      "<td class=\"name\">Ann</td><td class=\"score\">" + std::to_string(score) + "</td>";
  const size_t first = page.find(row);
  EXPECT_NE(first, std::string::npos) << page;
  EXPECT_EQ(page.find(row, first + 1), std::string::npos) << "sent once: " << page;
  EXPECT_EQ(page.find("<td class=\"name\">", page.find("<td class=\"name\">") + 1),
            std::string::npos)
      << "one score on the page: " << page;
}

TEST(OnlineScore, AScoreTheServiceRefusesIsShownAsNotAccepted) {
  servertest::TTempFolder folder;
  // One score a minute from this address, and the test's own score has used it up.
  servertest::TScoreServerProcess server(folder.Path() + "/scores.db", {"--submit-rate", "1"});
  ASSERT_EQ(servertest::Submit(server.Port(), "Zed", 1), 200);
  TGameRun run("refused");
  WriteProfile(run, 0);
  const long raceEnd = MenuFrame + 9000;
  const std::string script = IntoTheRace() + ThroughTheResults(MenuFrame + 3000, raceEnd, kSend);
  ASSERT_EQ(run.Run(script, raceEnd + 100, {"--autopilot", "--score-server", server.Address()}), 0)
      << run.Errors();
  ASSERT_EQ(run.States(), (std::vector<int>{3, 4, 14, 15, 12, 16, 14})) << run.Errors();
  EXPECT_NE(run.Errors().find("[Error] Score not accepted!"), std::string::npos) << run.Errors();
  EXPECT_EQ(run.Errors().find("Can't connect to server!"), std::string::npos) << run.Errors();
  EXPECT_EQ(servertest::Page(server.Port()).find(">Ann<"), std::string::npos);
}

}  // namespace
