#include "PlayerProfiles.h"

#include <algorithm>

namespace game {

void TPlayerProfiles::ResetAll() {
  Profiles.fill(TPlayerProfile{});
  ProfileCount = CurrentProfile = ProfileCursor = 0;
}

const TPlayerProfile& TPlayerProfiles::Current() const {
  return Profiles[std::clamp(CurrentProfile, 0, MaxProfiles - 1)];
}

std::string TPlayerProfiles::TrimName(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool TPlayerProfiles::HasName(const std::string& text) {
  return text.find_first_not_of(' ') != std::string::npos;
}

void TPlayerProfiles::CreateFirstProfile(const std::string& text) {
  Profiles[0] = TPlayerProfile{};
  Profiles[0].Name = TrimName(text);
  ProfileCount = 1;
  CurrentProfile = ProfileCursor = 0;
}

bool TPlayerProfiles::CreateProfile(const std::string& text) {
  if (ProfileCount < 0 || ProfileCount >= MaxProfiles) return false;
  Profiles[ProfileCount] = TPlayerProfile{};
  Profiles[ProfileCount].Name = TrimName(text);
  CurrentProfile = ProfileCount++;
  return true;
}

bool TPlayerProfiles::DeleteProfile() {
  if (ProfileCount > MaxProfiles || ProfileCursor < 0 || ProfileCursor >= ProfileCount) {
    return false;
  }
  if (ProfileCursor == ProfileCount - 1) {
    if (ProfileCount > 1) {
      if (CurrentProfile == ProfileCursor) --CurrentProfile;
      --ProfileCursor;
    }
  } else {
    if (ProfileCursor < CurrentProfile) --CurrentProfile;
    std::move(Profiles.begin() + ProfileCursor + 1, Profiles.begin() + ProfileCount,
              Profiles.begin() + ProfileCursor);
  }
  Profiles[ProfileCount - 1] = TPlayerProfile{};
  --ProfileCount;
  ClampIndices();
  return true;
}

bool TPlayerProfiles::StoreProgress(int32_t cars, int32_t tracks, int32_t score, int32_t target,
                                    int32_t stage) {
  if (CurrentProfile < 0 || CurrentProfile >= std::min(ProfileCount, MaxProfiles)) return false;
  TPlayerProfile& profile = Profiles[CurrentProfile];
  profile.CarsAvailable = cars;
  profile.TracksAvailable = tracks;
  profile.Score = score;
  profile.TargetScore = target;
  profile.UnlockStage = stage;
  return true;
}

bool TPlayerProfiles::ClampIndices() {
  const std::array<int32_t, 3> before = {ProfileCount, CurrentProfile, ProfileCursor};
  ProfileCount = std::clamp(ProfileCount, 0, MaxProfiles);
  const int32_t last = std::max(ProfileCount - 1, 0);
  CurrentProfile = std::clamp(CurrentProfile, 0, last);
  ProfileCursor = std::clamp(ProfileCursor, 0, last);
  return before != std::array<int32_t, 3>{ProfileCount, CurrentProfile, ProfileCursor};
}

}  // namespace game
