#include "AudioMixer.h"

#include <algorithm>
#include <cmath>

namespace platform {

TAudioMixer::TAudioMixer(int outputRate) : OutputRate_(outputRate) {}

int TAudioMixer::AddPath() {
  std::lock_guard lock(Lock_);
  for (int i = 0; i < kMaxPaths; ++i) {
    if (!Paths_[i].Used) {
      Paths_[i] = TPath{true, 1.0f, 0};
      return i;
    }
  }
  return -1;
}

void TAudioMixer::RemovePath(int path) {
  std::array<std::shared_ptr<const TAudioClip>, kMaxVoices> released;
  std::lock_guard lock(Lock_);
  if (!ValidPath(path)) return;
  Paths_[path].Used = false;
  for (std::size_t i = 0; i < Voices_.size(); ++i) {
    if (Voices_[i].Path != path) continue;
    Voices_[i].Active = false;
    released[i] = std::move(Voices_[i].Clip);
  }
}

void TAudioMixer::SetPathGain(int path, float gain) {
  std::lock_guard lock(Lock_);
  if (ValidPath(path)) Paths_[path].Gain = gain;
}

void TAudioMixer::SetPathFrequency(int path, int frequency) {
  std::lock_guard lock(Lock_);
  if (ValidPath(path)) Paths_[path].Frequency = std::max(0, frequency);
}

TAudioMixer::TVoice& TAudioMixer::FreeVoice() {
  TVoice* oldest = &Voices_[0];
  for (TVoice& voice : Voices_) {
    if (!voice.Active) return voice;
    if (voice.Started < oldest->Started) oldest = &voice;
  }
  return *oldest;
}

void TAudioMixer::Play(int path, std::shared_ptr<const TAudioClip> clip, int repeats) {
  if (!clip) return;
  std::lock_guard lock(Lock_);
  if (!ValidPath(path)) return;
  TVoice& voice = FreeVoice();
  // The clip that the slot held (if any) is released here, on the caller's thread.
  std::swap(voice.Clip, clip);
  voice.Active = true;
  voice.Path = path;
  voice.Repeats = repeats;
  voice.Position = 0.0;
  voice.Started = ++StartCount_;
}

void TAudioMixer::Stop(const TAudioClip* clip) {
  std::lock_guard lock(Lock_);
  for (TVoice& voice : Voices_) {
    if (voice.Clip.get() == clip) voice.Active = false;
  }
}

bool TAudioMixer::IsPlaying(const TAudioClip* clip) const {
  std::lock_guard lock(Lock_);
  return std::any_of(Voices_.begin(), Voices_.end(),
                     [clip](const TVoice& v) { return v.Active && v.Clip.get() == clip; });
}

int TAudioMixer::ActiveVoices(int path) const {
  std::lock_guard lock(Lock_);
  return static_cast<int>(std::count_if(Voices_.begin(), Voices_.end(), [path](const TVoice& v) {
    return v.Active && v.Path == path;
  }));
}

void TAudioMixer::AddStream(TAudioStream* stream) {
  std::lock_guard lock(Lock_);
  if (std::find(Streams_.begin(), Streams_.end(), stream) != Streams_.end()) return;
  auto slot = std::find(Streams_.begin(), Streams_.end(), nullptr);
  if (slot != Streams_.end()) *slot = stream;
}

void TAudioMixer::RemoveStream(TAudioStream* stream) {
  std::lock_guard lock(Lock_);
  std::replace(Streams_.begin(), Streams_.end(), stream, static_cast<TAudioStream*>(nullptr));
}

void TAudioMixer::SetStreamPlaying(TAudioStream* stream, bool playing) {
  std::lock_guard lock(Lock_);
  stream->SetPlaying(playing);
}

void TAudioMixer::Mix(float* out, std::size_t frames) {
  std::fill(out, out + frames * 2, 0.0f);
  {
    std::lock_guard lock(Lock_);
    for (TVoice& voice : Voices_) {
      if (voice.Active) MixVoice(voice, out, frames);
    }
    for (TAudioStream* stream : Streams_) {
      if (stream && stream->Playing()) MixStream(*stream, out, frames);
    }
  }
  Limit(out, frames);
  MixedFrames_ += frames;
}

void TAudioMixer::Limit(float* out, std::size_t frames) {
  const float release =
      1.0f - std::exp(-1.0f / (kLimiterReleaseSeconds * static_cast<float>(OutputRate_)));
  float gain = LimiterGain_;
  for (std::size_t i = 0; i < frames; ++i) {
    float* frame = out + i * 2;
    gain += (1.0f - gain) * release;
    const float peak = std::max(std::fabs(frame[0]), std::fabs(frame[1]));
    // The gain drops at once to what keeps this frame at the ceiling, then recovers slowly.
    if (peak * gain > kCeiling) gain = kCeiling / peak;
    frame[0] = std::clamp(frame[0] * gain, -kCeiling, kCeiling);
    frame[1] = std::clamp(frame[1] * gain, -kCeiling, kCeiling);
  }
  LimiterGain_ = gain;
}

void TAudioMixer::MixVoice(TVoice& voice, float* out, std::size_t frames) {
  const TPath& path = Paths_[voice.Path];
  const float* samples = voice.Clip->Samples().data();
  const std::size_t length = voice.Clip->Frames();
  const double step = path.Frequency == 0 ? 1.0
                                          : static_cast<double>(path.Frequency) /
                                                static_cast<double>(voice.Clip->SourceRate());
  const float gain = path.Gain;
  double position = voice.Position;
  for (std::size_t i = 0; i < frames; ++i) {
    const auto index = static_cast<std::size_t>(position);
    const auto fraction = static_cast<float>(position - static_cast<double>(index));
    const std::size_t next = index + 1 < length ? index + 1 : index;
    const float* a = samples + index * 2;
    const float* b = samples + next * 2;
    out[i * 2] += gain * (a[0] + (b[0] - a[0]) * fraction);
    out[i * 2 + 1] += gain * (a[1] + (b[1] - a[1]) * fraction);
    position += step;
    if (position < static_cast<double>(length)) continue;
    if (voice.Repeats == 0) {
      voice.Active = false;
      break;
    }
    if (voice.Repeats > 0) --voice.Repeats;
    position = std::fmod(position, static_cast<double>(length));
  }
  voice.Position = position;
}

void TAudioMixer::MixStream(TAudioStream& stream, float* out, std::size_t frames) {
  constexpr double kFrames = static_cast<double>(TAudioStream::kFrames);
  constexpr double kHalf = static_cast<double>(TAudioStream::kHalfFrames);
  constexpr float kScale = 1.0f / 32768.0f;
  const double step = static_cast<double>(TAudioStream::kRate) / OutputRate_;
  stream.Acquire();
  double position = stream.Position();
  for (std::size_t i = 0; i < frames; ++i) {
    const auto index = static_cast<std::size_t>(position);
    const auto fraction = static_cast<float>(position - static_cast<double>(index));
    const std::int16_t* a = stream.Frame(index);
    const std::int16_t* b = stream.Frame((index + 1) % TAudioStream::kFrames);
    out[i * 2] += (a[0] + (b[0] - a[0]) * fraction) * kScale;
    out[i * 2 + 1] += (a[1] + (b[1] - a[1]) * fraction) * kScale;
    const double before = position;
    position += step;
    if (before < kHalf && position >= kHalf) stream.PositionEntered(1);
    if (position >= kFrames) {
      position -= kFrames;
      stream.PositionEntered(0);
    }
  }
  stream.Position() = position;
}

}  // namespace platform
