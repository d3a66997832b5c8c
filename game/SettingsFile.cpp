#include "SettingsFile.h"

#include <algorithm>

#include "SettingsLines.h"
#include "online/TextCodec.h"

namespace game {

namespace {

// Line numbers (from 0) of "Config.cfg".
constexpr size_t kFullScreenLine = 0;
constexpr size_t kMusicLine = 1;
constexpr size_t kSoundLine = 2;
constexpr size_t kOptionsLine = 3;
constexpr size_t kPlayerLine = 4;
constexpr size_t kHighScoreLine = 5;
constexpr size_t kProfileCountLine = 25;
constexpr size_t kCurrentProfileLine = 26;

// Builds a settings file line by line.
class TLineWriter {
 public:
  /// A switch line: "true" or "false", unpadded.
  void Switch(bool on) { Line(on ? "true" : "false"); }
  /// A text line, padded to the multiple.
  void Text(const std::string& text, size_t padding) {
    Line(TSettingsFile::PadText(text, padding));
  }
  /// A decimal number line, padded to the multiple.
  void Number(int32_t value, size_t padding) { Text(std::to_string(value), padding); }
  /// The file's bytes so far.
  const std::string& Bytes() const { return Bytes_; }

 private:
  void Line(const std::string& plain) { Bytes_ += online::EncodeText(plain) + "\r\n"; }
  std::string Bytes_;
};

// Reads a switch that is on unless its line says "false".
void ReadSwitchOn(TSettingsLines& lines, size_t index, bool& value) {
  if (const auto text = lines.Switch(index); text && *text == "false") value = false;
}

// Reads a number line into value when it converts.
void ReadNumber(TSettingsLines& lines, size_t index, int32_t& value) {
  if (const auto number = lines.Number(index)) value = *number;
}

// Reads the names and points of the high-score rows; empty lines keep a row's value.
void ReadHighScores(TSettingsLines& lines, THighScoreTable& table) {
  for (size_t row = 0; row < THighScoreTable::RowCount; ++row) {
    const size_t line = kHighScoreLine + 2 * row;
    if (const auto name = lines.Text(line); name && !name->empty()) table.Rows[row].Name = *name;
    if (const auto points = lines.Text(line + 1); points && !points->empty()) {
      table.Rows[row].Points = *points;
    }
  }
}

// Reads the six lines of one profile starting at line first.
void ReadProfile(TSettingsLines& lines, size_t first, TPlayerProfile& profile) {
  if (const auto name = lines.Text(first)) profile.Name = *name;
  ReadNumber(lines, first + 1, profile.CarsAvailable);
  ReadNumber(lines, first + 2, profile.TracksAvailable);
  ReadNumber(lines, first + 3, profile.Score);
  ReadNumber(lines, first + 4, profile.TargetScore);
  ReadNumber(lines, first + 5, profile.UnlockStage);
}

// Notes a file that ends before its last expected line.
void NoteEarlyEnd(TSettingsLines& lines, size_t expected) {
  if (lines.Count() >= expected) return;
  lines.Note("the file ends after line " + std::to_string(lines.Count()) + " of " +
             std::to_string(expected));
}

// The listed profiles that the file holds, at least their name line of each.
void ReadProfiles(TSettingsLines& lines, TPlayerProfiles& profiles) {
  int32_t listed = profiles.ProfileCount;
  ReadNumber(lines, kProfileCountLine, listed);
  ReadNumber(lines, kCurrentProfileLine, profiles.CurrentProfile);
  if (listed < 0 || listed > TPlayerProfiles::MaxProfiles) {
    lines.Note("line 26 lists " + std::to_string(listed) + " profiles (0 to 10 can be kept)");
    listed = std::clamp(listed, 0, TPlayerProfiles::MaxProfiles);
  }
  NoteEarlyEnd(lines, TSettingsFile::ConfigHeadLines + TSettingsFile::ProfileLines * listed);
  int32_t count = 0;
  for (; count < listed; ++count) {
    const size_t first = TSettingsFile::ConfigHeadLines + TSettingsFile::ProfileLines * count;
    if (first >= lines.Count()) break;
    ReadProfile(lines, first, profiles.Profiles[count]);
  }
  profiles.ProfileCount = count;
  const int32_t current = profiles.CurrentProfile;
  if (profiles.ClampIndices()) {
    lines.Note("line 27 names profile index " + std::to_string(current) + " outside the " +
               std::to_string(count) + " profiles; index " +
               std::to_string(profiles.CurrentProfile) + " is used");
  }
}

// Loads the lines of a settings file; false when there is nothing to read.
bool LoadLines(const std::string& path, TSettingsLines& lines, std::string& warning) {
  std::string problem;
  if (lines.Load(path, problem) == TSettingsLines::TLoad::Loaded) return true;
  warning = problem.empty() ? std::string() : "settings not read: " + problem;
  return false;
}

// The warning for a file read with damaged parts (empty when it was sound).
std::string Warning(const std::string& path, const TSettingsLines& lines) {
  if (lines.Notes().empty()) return {};
  return "settings file \"" + path + "\" is damaged: " + lines.Notes() +
         ". The values that could not be read keep their defaults.";
}

// Replaces a settings file, saying in error what could not be saved.
bool Replace(const std::string& path, const std::string& bytes, std::string& error) {
  if (TSafeFileWriter::Replace(path, bytes, error)) return true;
  error = "settings not saved: " + error;
  return false;
}

// Whether a time is one a race clock can show.
bool TimeInRange(const TRaceTime& time) {
  return time.Hundredths >= 0 && time.Hundredths < 100 && time.Seconds >= 0 && time.Seconds < 60 &&
         time.Minutes >= 0;
}

}  // namespace

std::string TSettingsFile::PadText(const std::string& text, size_t multiple) {
  std::string padded = text;
  if (multiple > 0) padded.append((multiple - text.size() % multiple) % multiple, '%');
  return padded;
}

std::string TSettingsFile::StripPadding(const std::string& text) {
  const size_t end = text.find_last_not_of('%');
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

bool TSettingsFile::ReadConfig(const std::string& path, TGameSettings& settings,
                               std::string& warning) {
  warning.clear();
  TSettingsLines lines;
  if (!LoadLines(path, lines, warning)) return false;
  if (const auto text = lines.Switch(kFullScreenLine); text && *text != "false") {
    settings.FullScreen = true;
  }
  ReadSwitchOn(lines, kMusicLine, settings.MusicOn);
  ReadSwitchOn(lines, kSoundLine, settings.SoundOn);
  if (const auto text = lines.Text(kOptionsLine)) settings.OptionsText = *text;
  if (const auto text = lines.Text(kPlayerLine)) settings.PlayerName = *text;
  ReadHighScores(lines, settings.HighScores);
  ReadProfiles(lines, settings.Profiles);
  warning = Warning(path, lines);
  return true;
}

bool TSettingsFile::SaveConfig(const std::string& path, const TGameSettings& settings,
                               std::string& error) {
  TPlayerProfiles profiles = settings.Profiles;
  profiles.ClampIndices();
  TLineWriter out;
  out.Switch(settings.FullScreen);
  out.Switch(settings.MusicOn);
  out.Switch(settings.SoundOn);
  out.Text(settings.OptionsText, TextPadding);
  out.Text(settings.PlayerName, TextPadding);
  for (const THighScoreRow& row : settings.HighScores.Rows) {
    out.Text(row.Name, TextPadding);
    out.Text(row.Points, TextPadding);
  }
  out.Number(profiles.ProfileCount, NumberPadding);
  out.Number(profiles.CurrentProfile, NumberPadding);
  for (int32_t i = 0; i < profiles.ProfileCount; ++i) {
    const TPlayerProfile& profile = profiles.Profiles[i];
    out.Text(profile.Name, NumberPadding);
    for (int32_t value : {profile.CarsAvailable, profile.TracksAvailable, profile.Score,
                          profile.TargetScore, profile.UnlockStage}) {
      out.Number(value, NumberPadding);
    }
  }
  return Replace(path, out.Bytes(), error);
}

bool TSettingsFile::ReadBestTimes(const std::string& path,
                                  std::array<TRaceTime, TrackSlotCount>& times,
                                  std::string& warning) {
  warning.clear();
  TSettingsLines lines;
  if (!LoadLines(path, lines, warning)) return false;
  for (size_t slot = 0; slot < times.size(); ++slot) {
    const auto hundredths = lines.Number(3 * slot);
    const auto seconds = lines.Number(3 * slot + 1);
    const auto minutes = lines.Number(3 * slot + 2);
    if (!hundredths || !seconds || !minutes) continue;
    const TRaceTime time{*minutes, *seconds, *hundredths};
    if (TimeInRange(time)) {
      times[slot] = time;
    } else {
      lines.Note("track slot " + std::to_string(slot + 1) + " holds no valid time");
    }
  }
  NoteEarlyEnd(lines, BestTimeLines);
  warning = Warning(path, lines);
  return true;
}

bool TSettingsFile::SaveBestTimes(const std::string& path,
                                  const std::array<TRaceTime, TrackSlotCount>& times,
                                  std::string& error) {
  TLineWriter out;
  for (const TRaceTime& time : times) {
    out.Number(time.Hundredths, TextPadding);
    out.Number(time.Seconds, TextPadding);
    out.Number(time.Minutes, TextPadding);
  }
  return Replace(path, out.Bytes(), error);
}

}  // namespace game
