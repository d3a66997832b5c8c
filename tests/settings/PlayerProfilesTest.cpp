// Player profiles: names, the first start, creating, deleting and storing progress.

#include <gtest/gtest.h>

#include "game/PlayerProfiles.h"

namespace {

using game::TPlayerProfile;
using game::TPlayerProfiles;

// "P0", "P1", ...
std::string Name(int32_t i) {
  std::string name = "P";
  name += std::to_string(i);
  return name;
}

// Profiles named "P0", "P1", ... with progress that tells them apart.
TPlayerProfiles Numbered(int32_t count, int32_t current, int32_t cursor) {
  TPlayerProfiles profiles;
  for (int32_t i = 0; i < count; ++i) {
    profiles.Profiles[i] = {Name(i), 3 + i % 3, 4 + i, 100 * (i + 1), 700 + i, 1 + i};
  }
  profiles.ProfileCount = count;
  profiles.CurrentProfile = current;
  profiles.ProfileCursor = cursor;
  return profiles;
}

// The names of the listed profiles joined by spaces.
std::string Names(const TPlayerProfiles& profiles) {
  std::string names;
  for (int32_t i = 0; i < profiles.ProfileCount; ++i) {
    names += (i ? " " : "") + profiles.Profiles[i].Name;
  }
  return names;
}

struct TrimCase {
  std::string Text;
  std::string Trimmed;
  bool Named;
};

TEST(PlayerProfiles, TrimsSpacesAndTellsWhetherThereIsAName) {
  const TrimCase cases[] = {
      {"Ann", "Ann", true},
      {"  Ann  ", "Ann", true},
      {" A n n ", "A n n", true},
      {"", "", false},
      {"     ", "", false},
      {"\xC0\xE1 ", "\xC0\xE1", true},
      {"twelve chars", "twelve chars", true},
  };
  for (const TrimCase& c : cases) {
    EXPECT_EQ(TPlayerProfiles::TrimName(c.Text), c.Trimmed) << '"' << c.Text << '"';
    EXPECT_EQ(TPlayerProfiles::HasName(c.Text), c.Named) << '"' << c.Text << '"';
  }
}

TEST(PlayerProfiles, ResetEmptiesEverySlot) {
  TPlayerProfiles profiles = Numbered(10, 4, 7);
  profiles.ResetAll();
  for (const TPlayerProfile& profile : profiles.Profiles) EXPECT_EQ(profile, TPlayerProfile{});
  EXPECT_EQ(profiles.ProfileCount, 0);
  EXPECT_EQ(profiles.CurrentProfile, 0);
  EXPECT_EQ(profiles.ProfileCursor, 0);
  EXPECT_EQ(TPlayerProfile{}, (TPlayerProfile{"", 2, 3, 0, 300, 0}));
}

TEST(PlayerProfiles, TheFirstNameMakesTheOnlyProfile) {
  TPlayerProfiles profiles;
  profiles.CreateFirstProfile("  Ann ");
  EXPECT_EQ(profiles.ProfileCount, 1);
  EXPECT_EQ(profiles.CurrentProfile, 0);
  EXPECT_EQ(profiles.Current(), (TPlayerProfile{"Ann", 2, 3, 0, 300, 0}));
  for (int32_t i = 1; i < TPlayerProfiles::MaxProfiles; ++i) {
    EXPECT_EQ(profiles.Profiles[i], TPlayerProfile{});
  }
}

TEST(PlayerProfiles, CreatingFillsSlotsUpToTenAndThenRefuses) {
  TPlayerProfiles profiles;
  profiles.CreateFirstProfile("P0");
  for (int32_t i = 1; i < TPlayerProfiles::MaxProfiles; ++i) {
    ASSERT_TRUE(profiles.CreateProfile(Name(i).insert(0, 2, ' ')));
    EXPECT_EQ(profiles.ProfileCount, i + 1);
    EXPECT_EQ(profiles.CurrentProfile, i);
    EXPECT_EQ(profiles.Current().Name, Name(i));
  }
  const TPlayerProfiles full = profiles;
  EXPECT_FALSE(profiles.CreateProfile("Eleven"));
  EXPECT_EQ(Names(profiles), Names(full));
  EXPECT_EQ(profiles.ProfileCount, 10);
  EXPECT_EQ(profiles.CurrentProfile, 9);
}

struct DeleteCase {
  const char* Name;
  int32_t Count, Current, Cursor;
  const char* NamesAfter;
  int32_t CurrentAfter, CursorAfter;
};

// Names the case in test output.
void PrintTo(const DeleteCase& c, std::ostream* out) {
  *out << c.Name;
}

const DeleteCase kDeleteCases[] = {
    {"OnlyProfile", 1, 0, 0, "", 0, 0},
    {"BeforeTheCurrentOneKeepsTheSamePlayerCurrent", 4, 2, 1, "P0 P2 P3", 1, 1},
    {"LastAndCurrent", 4, 3, 3, "P0 P1 P2", 2, 2},
    {"LastButNotCurrent", 4, 1, 3, "P0 P1 P2", 1, 2},
    {"CurrentNotLastMakesTheNextPlayerCurrent", 4, 1, 1, "P0 P2 P3", 1, 1},
    {"AfterTheCurrentOne", 4, 0, 2, "P0 P1 P3", 0, 2},
    {"FirstOfTenWithTheLastCurrent", 10, 9, 0, "P1 P2 P3 P4 P5 P6 P7 P8 P9", 8, 0},
    {"LastOfTwo", 2, 0, 1, "P0", 0, 0},
};

class ProfileDelete : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(ProfileDelete, MovesLaterProfilesDownAndEmptiesTheFreedSlot) {
  const DeleteCase& c = GetParam();
  const TPlayerProfiles before = Numbered(c.Count, c.Current, c.Cursor);
  TPlayerProfiles profiles = before;
  ASSERT_TRUE(profiles.DeleteProfile());
  EXPECT_EQ(Names(profiles), c.NamesAfter);
  EXPECT_EQ(profiles.ProfileCount, c.Count - 1);
  EXPECT_EQ(profiles.CurrentProfile, c.CurrentAfter);
  EXPECT_EQ(profiles.ProfileCursor, c.CursorAfter);
  // Every remaining profile keeps all its fields, and every free slot is empty.
  for (int32_t i = 0; i < TPlayerProfiles::MaxProfiles; ++i) {
    if (i >= profiles.ProfileCount) {
      EXPECT_EQ(profiles.Profiles[i], TPlayerProfile{}) << "slot " << i;
      continue;
    }
    const int32_t was = i < c.Cursor ? i : i + 1;
    EXPECT_EQ(profiles.Profiles[i], before.Profiles[was]) << "slot " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileDelete, ::testing::ValuesIn(kDeleteCases),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(PlayerProfiles, DeletingTheOnlyProfileLeavesNoPlayer) {
  TPlayerProfiles profiles;
  profiles.CreateFirstProfile("Ann");
  ASSERT_TRUE(profiles.DeleteProfile());
  EXPECT_EQ(profiles.ProfileCount, 0);
  EXPECT_EQ(profiles.CurrentProfile, 0);
  EXPECT_EQ(profiles.Current().Name, "");
}

TEST(PlayerProfiles, DeletingWithTheCursorOffTheListChangesNothing) {
  for (int32_t cursor : {-1, 4, 9, 10}) {
    TPlayerProfiles profiles = Numbered(4, 1, cursor);
    EXPECT_FALSE(profiles.DeleteProfile()) << cursor;
    EXPECT_EQ(Names(profiles), "P0 P1 P2 P3");
    EXPECT_EQ(profiles.CurrentProfile, 1);
  }
  TPlayerProfiles none;
  EXPECT_FALSE(none.DeleteProfile());
}

TEST(PlayerProfiles, AProfileCreatedAfterADeleteStartsFresh) {
  TPlayerProfiles profiles = Numbered(4, 2, 1);
  ASSERT_TRUE(profiles.DeleteProfile());
  ASSERT_TRUE(profiles.CreateProfile("New"));
  EXPECT_EQ(Names(profiles), "P0 P2 P3 New");
  EXPECT_EQ(profiles.CurrentProfile, 3);
  EXPECT_EQ(profiles.Profiles[3], (TPlayerProfile{"New", 2, 3, 0, 300, 0}));
}

TEST(PlayerProfiles, ProgressGoesIntoTheCurrentProfileOnly) {
  TPlayerProfiles profiles = Numbered(3, 1, 0);
  ASSERT_TRUE(profiles.StoreProgress(4, 7, 2300, 3200, 5));
  EXPECT_EQ(profiles.Profiles[1], (TPlayerProfile{"P1", 4, 7, 2300, 3200, 5}));
  EXPECT_EQ(profiles.Profiles[0], Numbered(3, 1, 0).Profiles[0]);
  EXPECT_EQ(profiles.Profiles[2], Numbered(3, 1, 0).Profiles[2]);

  TPlayerProfiles none;
  EXPECT_FALSE(none.StoreProgress(4, 7, 2300, 3200, 5));
  EXPECT_EQ(none.Profiles[0], TPlayerProfile{});
}

struct ClampCase {
  int32_t Count, Current, Cursor;
  int32_t CountAfter, CurrentAfter, CursorAfter;
  bool Changed;
};

TEST(PlayerProfiles, ClampingKeepsTheIndicesInTheList) {
  const ClampCase cases[] = {
      {3, 2, 1, 3, 2, 1, false}, {99, 12, 11, 10, 9, 9, true}, {-4, 3, -1, 0, 0, 0, true},
      {3, 7, 0, 3, 2, 0, true},  {3, -2, 5, 3, 0, 2, true},    {0, 0, 0, 0, 0, 0, false},
  };
  for (const ClampCase& c : cases) {
    TPlayerProfiles profiles;
    profiles.ProfileCount = c.Count;
    profiles.CurrentProfile = c.Current;
    profiles.ProfileCursor = c.Cursor;
    EXPECT_EQ(profiles.ClampIndices(), c.Changed) << c.Count << " " << c.Current;
    EXPECT_EQ(profiles.ProfileCount, c.CountAfter);
    EXPECT_EQ(profiles.CurrentProfile, c.CurrentAfter);
    EXPECT_EQ(profiles.ProfileCursor, c.CursorAfter);
  }
}

TEST(PlayerProfiles, TheCurrentProfileIsAlwaysASlot) {
  TPlayerProfiles profiles = Numbered(10, 42, 0);
  EXPECT_EQ(profiles.Current().Name, "P9");
  profiles.CurrentProfile = -3;
  EXPECT_EQ(profiles.Current().Name, "P0");
}

}  // namespace
