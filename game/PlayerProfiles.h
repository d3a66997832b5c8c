#pragma once
// The ten player profile slots and the profile screens' operations on them.

#include <array>
#include <cstdint>
#include <string>

namespace game {

/// One player's name and progress. A fresh value holds the empty-slot values.
struct TPlayerProfile {
  std::string Name;
  int32_t CarsAvailable = 2;
  int32_t TracksAvailable = 3;
  int32_t Score = 0;
  int32_t TargetScore = 300;
  int32_t UnlockStage = 0;
  /// Profiles are equal when every field is.
  bool operator==(const TPlayerProfile&) const = default;
};

/// The profile slots with the count in use, the profile being played and the row highlighted on
/// the profile screen. Slots at or beyond ProfileCount hold the empty-slot values.
class TPlayerProfiles {
 public:
  /// Number of profile slots.
  static constexpr int32_t MaxProfiles = 10;

  /// Empties every slot; no profiles, slot 0 current and highlighted.
  void ResetAll();

  /// The profile in use (slot 0, possibly empty, when there are no profiles).
  const TPlayerProfile& Current() const;

  /// The text with its leading and trailing spaces removed.
  static std::string TrimName(const std::string& text);

  /// Whether the text holds a character other than a space, so that it can name a profile.
  static bool HasName(const std::string& text);

  /// The first start's profile: slot 0 gets the trimmed name and the empty-slot values, and
  /// becomes the only and current profile.
  void CreateFirstProfile(const std::string& text);

  /// Adds a profile with the trimmed name and the empty-slot values after the last one and makes
  /// it current. Returns false, changing nothing, when all slots are in use.
  bool CreateProfile(const std::string& text);

  /// Deletes the profile at ProfileCursor: later profiles move one slot down, the freed slot gets
  /// the empty-slot values, and CurrentProfile and ProfileCursor keep pointing into the list.
  /// Returns false, changing nothing, when ProfileCursor is not a profile.
  bool DeleteProfile();

  /// Copies a race's progress into the current profile. Returns false when there is no current
  /// profile to store it in.
  bool StoreProgress(int32_t cars, int32_t tracks, int32_t score, int32_t target, int32_t stage);

  /// Brings ProfileCount into 0..MaxProfiles and CurrentProfile and ProfileCursor into the list
  /// (0 when it is empty). Returns whether anything had to change.
  bool ClampIndices();

  std::array<TPlayerProfile, MaxProfiles> Profiles;
  int32_t ProfileCount = 0;
  int32_t CurrentProfile = 0;
  int32_t ProfileCursor = 0;
};

}  // namespace game
