#include "synth/NoteName.h"

#include <cctype>
#include <cmath>

namespace synth {
namespace {

std::optional<int> LetterSemitone(char letter) {
  switch (std::tolower(static_cast<unsigned char>(letter))) {
    case 'c':
      return 0;
    case 'd':
      return 2;
    case 'e':
      return 4;
    case 'f':
      return 5;
    case 'g':
      return 7;
    case 'a':
      return 9;
    case 'b':
      return 11;
    default:
      return std::nullopt;
  }
}

int Accidental(char sign) {
  if (sign == '#') return 1;
  if (sign == 'b') return -1;
  return 0;
}

}  // namespace

std::optional<int> ParseNoteName(std::string_view name) {
  if (name.size() < 2 || name.size() > 3) return std::nullopt;
  const std::optional<int> semitone = LetterSemitone(name[0]);
  if (!semitone) return std::nullopt;
  int offset = 0;
  if (name.size() == 3) {
    offset = Accidental(name[1]);
    if (offset == 0 && name[1] != '-') return std::nullopt;
  }
  const char octave = name.back();
  if (!std::isdigit(static_cast<unsigned char>(octave))) return std::nullopt;
  const int note = (octave - '0') * 12 + *semitone + offset;
  if (note < 0 || note > kHighestNote) return std::nullopt;
  return note;
}

double NoteFrequency(double note) {
  return 440.0 * std::exp2((note - kNoteA4) / 12.0);
}

}  // namespace synth
