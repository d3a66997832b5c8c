#pragma once
// Reading and writing the two settings files: "Config.cfg" and "Configdat.cfg".

#include <array>
#include <string>

#include "GameConstants.h"
#include "GameSettings.h"
#include "RaceTime.h"
#include "SafeFileWriter.h"

namespace game {

/// The settings files: one value a line, each line encoded with online::EncodeText, lines ending
/// in CR LF. Writes replace a file whole and safely (a temporary file beside it, flushed to disk,
/// then renamed over it), so a failed or interrupted write leaves the previous file complete.
/// Reads of damaged files keep what could be read and leave the rest at the values given.
class TSettingsFile {
 public:
  /// Lines of "Config.cfg" before the profiles.
  static constexpr size_t ConfigHeadLines = 27;
  /// Lines of "Config.cfg" per profile.
  static constexpr size_t ProfileLines = 6;
  /// Lines of "Configdat.cfg".
  static constexpr size_t BestTimeLines = 3 * TrackSlotCount;
  /// Padding multiple of text values.
  static constexpr size_t TextPadding = 5;
  /// Padding multiple of numbers and profile values.
  static constexpr size_t NumberPadding = 10;
  /// Environment variable naming a file the writer creates after flushing a temporary file; the
  /// writer then waits until that file is removed before renaming (for crash tests).
  static constexpr const char* PauseVariable = TSafeFileWriter::PauseVariable;

  /// Reads "Config.cfg" into the settings. False when the file is missing or cannot be opened
  /// (the settings stay as they were). Damaged parts keep the values given and are described in
  /// warning (empty when the whole file was sound).
  static bool ReadConfig(const std::string& path, TGameSettings& settings, std::string& warning);

  /// Writes "Config.cfg" from the settings. False, with the reason in error, when it could not
  /// be written; the previous file then stays as it was.
  static bool SaveConfig(const std::string& path, const TGameSettings& settings,
                         std::string& error);

  /// Reads the best times of every track slot from "Configdat.cfg", as ReadConfig does.
  static bool ReadBestTimes(const std::string& path, std::array<TRaceTime, TrackSlotCount>& times,
                            std::string& warning);

  /// Writes the best times of every track slot to "Configdat.cfg", as SaveConfig does.
  static bool SaveBestTimes(const std::string& path,
                            const std::array<TRaceTime, TrackSlotCount>& times, std::string& error);

  /// The text lengthened with "%" to a multiple of the given length (an empty text stays empty).
  static std::string PadText(const std::string& text, size_t multiple);

  /// The text without its trailing "%" characters.
  static std::string StripPadding(const std::string& text);
};

}  // namespace game
