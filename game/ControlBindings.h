#pragma once
// The player's controls for a race, kept in the settings file "controls.ini".

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ControlInput.h"
#include "IniReader.h"

namespace game {

/// The race actions a player can rebind, each acting as the key the race reads for it.
enum class TRaceAction { Throttle, Brake, Left, Right, Handbrake, Pause, Quit, Recover };
/// How many race actions there are.
constexpr size_t kRaceActionCount = 8;

/// Which keys, controller buttons and controller axes perform each race action. Read from
/// "controls.ini", one line per action ("throttle = up, pad:righttrigger, pad:a"); lines
/// starting with ; or # are comments. A line that does not parse leaves its action as it was
/// (the default) and is noted as a problem; the file is written only when it does not exist.
class TControlBindings {
 public:
  /// The default bindings.
  TControlBindings();

  /// The name of an action in the file ("throttle", "handbrake", ...).
  static std::string ActionName(TRaceAction action);
  /// The virtual key the race reads for an action (up for throttle, P for pause, ...).
  static int32_t ActionKey(TRaceAction action);
  /// The default inputs of an action.
  static std::vector<TControlInput> DefaultInputs(TRaceAction action);

  /// The inputs bound to an action.
  const std::vector<TControlInput>& Inputs(TRaceAction action) const;
  /// Binds an action to these inputs.
  void SetInputs(TRaceAction action, std::vector<TControlInput> inputs);
  /// Applies the lines of a controls file, noting each line that does not parse.
  void Parse(const std::string& text);
  /// The problems noted by Parse and LoadOrCreate, one message each.
  const std::vector<std::string>& Problems() const { return Problems_; }
  /// The file form of these bindings, with a comment for every line.
  std::string Text() const;
  /// Reads the file, or writes it with the defaults when it does not exist; each problem is
  /// reported once on standard error. Never rewrites an existing file.
  void LoadOrCreate(const std::string& path);

 private:
  void ParseEntry(const TIniReader::TEntry& entry);
  void Note(int lineNumber, const std::string& problem);

  std::array<std::vector<TControlInput>, kRaceActionCount> Inputs_;
  std::vector<std::string> Problems_;
};

}  // namespace game
