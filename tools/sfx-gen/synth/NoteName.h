#pragma once

#include <optional>
#include <string_view>

namespace synth {

/// Semitone number of the note A-4 (C-0 is 0), the 440 Hz tuning reference.
inline constexpr int kNoteA4 = 57;

/// Highest semitone number a note name can give (B-9).
inline constexpr int kHighestNote = 119;

/// Reads a note name such as "c4", "C#3", "bb2" or "C-4" as a semitone number (C-0 = 0).
std::optional<int> ParseNoteName(std::string_view name);

/// Equal-tempered frequency in Hz of semitone number `note` (A-4 = 440 Hz).
double NoteFrequency(double note);

}  // namespace synth
