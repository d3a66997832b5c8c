#pragma once

#include "SongSource.h"
#include "XmModule.h"

namespace xm {

/// Frequency in Hz at which the XM player plays a sample at its own rate for note C-4 when the
/// sample has relative note 0 and finetune 0.
inline constexpr double kC4PlaybackRate = 8363.0;

/// Tuning of a sample relative to the player's C-4 rate.
struct TSampleTuning {
  int RelativeNote = 0;
  int Finetune = 0;
};

/// Relative note and finetune that make note `pitch` (C-0 = 0) play a sample recorded at `rate`
/// Hz at that rate, corrected by `ratio` (nominal over actual frequency of the recorded tone).
TSampleTuning TuneSample(int rate, int pitch, double ratio);

/// Synthesises the sample described by `recipe` and wraps it in a one-sample instrument with the
/// recipe's envelope, fadeout, vibrato, volume and panning.
TInstrument SynthesizeInstrument(const TInstrumentRecipe& recipe, std::uint32_t seed);

}  // namespace xm
