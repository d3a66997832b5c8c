#pragma once
// Bookkeeping of the resampled copies of pictures kept by the OpenGL device.

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace platform {

/// What a resampled copy is made from: the picture's texture, its sampler, whether it is drawn
/// for the window (lifted by a step of the rasteriser's grid), the copy's size in pixels, the
/// quad's right and bottom edges from its top-left pixel, and the picture's coordinates at the
/// quad's corners (top-left, top-right, bottom-right, bottom-left).
struct TResampledKey {
  uint32_t Source = 0;
  int Sampler = 0;
  bool Lifted = false;
  int32_t Width = 0;
  int32_t Height = 0;
  float Right = 0;
  float Bottom = 0;
  std::array<float, 8> Corners{};
  auto operator<=>(const TResampledKey&) const = default;
};

/// A resampled copy: its texture, whether every texel of it is opaque, and when it was last used.
struct TResampledCopy {
  uint32_t Name = 0;
  bool Opaque = false;
  uint64_t LastUse = 0;
};

/// Keeps resampled copies within a budget of texels, dropping the least recently used first.
/// It owns no textures: the calls that drop copies hand their names back for deleting.
class TResampledCopies {
 public:
  /// Makes an empty store that holds at most budgetTexels texels.
  explicit TResampledCopies(size_t budgetTexels) : BudgetTexels_(budgetTexels) {}

  /// The copy made for a key, marked as used now; nullptr when there is none.
  const TResampledCopy* Find(const TResampledKey& key, uint64_t now);
  /// Whether a copy of this size can be kept at all.
  bool Fits(const TResampledKey& key) const;
  /// Keeps a new copy; returns the textures of the copies dropped to make room for it.
  std::vector<uint32_t> Add(const TResampledKey& key, TResampledCopy copy);
  /// Drops every copy made from a picture's texture; returns their textures.
  std::vector<uint32_t> ForgetSource(uint32_t source);
  /// Drops every copy; returns their textures.
  std::vector<uint32_t> Clear();
  /// Texels held by the copies kept.
  size_t Texels() const { return Texels_; }
  /// Number of copies kept.
  size_t Count() const { return Copies_.size(); }

 private:
  static size_t TexelsOf(const TResampledKey& key);

  size_t BudgetTexels_;
  size_t Texels_ = 0;
  std::map<TResampledKey, TResampledCopy> Copies_;
};

}  // namespace platform
