#pragma once
// The looping two-second buffer through which a streaming thread feeds the mixer.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <semaphore>
#include <span>
#include <vector>

namespace platform {

/// A looping buffer of 16-bit stereo frames at 22050 Hz, two seconds long, in two halves. The
/// mixer reads it from its play position; each time that position enters one half, the other
/// half is handed to the writer to refill, so the writer stays one second ahead.
class TAudioStream {
 public:
  static constexpr int kRate = 22050;
  static constexpr std::size_t kHalfFrames = 22050;
  static constexpr std::size_t kFrames = 2 * kHalfFrames;

  TAudioStream();

  /// Waits up to `timeout` for a half to refill; returns its index (0 or 1), or -1 when none
  /// is due (a timeout or a Wake).
  int WaitForRefill(std::chrono::milliseconds timeout);
  /// The samples of one half (interleaved left, right), for the writer.
  std::span<std::int16_t> Half(int half);
  /// Tells the mixer that a half has been written: what the writer wrote before this call is
  /// what the mixer reads after its next Acquire.
  void Publish() { Published_.fetch_add(1, std::memory_order_release); }
  /// Called by the mixer before reading: sees everything published so far.
  void Acquire() const { Published_.load(std::memory_order_acquire); }
  /// Asks for a refill of the half that the play position is not in, without waiting for
  /// the position to move there.
  void RequestRefillAhead();
  /// Wakes a writer waiting in WaitForRefill.
  void Wake();
  /// Fills the whole buffer with silence; only while the mixer does not play it.
  void Clear();

  /// Whether the mixer plays the buffer.
  bool Playing() const { return Playing_.load(); }
  /// Starts or stops the mixer's reading; the position is kept. Use through the mixer.
  void SetPlaying(bool playing) { Playing_ = playing; }
  /// The play position in frames (fractional), used by the mixer only.
  double& Position() { return Position_; }
  /// Reads one frame for the mixer; `frame` is below kFrames.
  const std::int16_t* Frame(std::size_t frame) const { return &Samples_[frame * 2]; }
  /// Called by the mixer when its position has entered `half`: the other one is due.
  void PositionEntered(int half);

 private:
  void Signal();

  std::vector<std::int16_t> Samples_;
  std::atomic<bool> Playing_{false};
  std::atomic<unsigned> Pending_{0};
  std::atomic<unsigned> Published_{0};
  // True while a release of the semaphore has not been taken yet, so it never counts past one.
  std::atomic<bool> Posted_{false};
  std::binary_semaphore Wakeup_{0};
  double Position_ = 0.0;
};

}  // namespace platform
