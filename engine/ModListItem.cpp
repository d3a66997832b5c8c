#include "ModListItem.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "VexelSound3D.h"

namespace vexel {
namespace {

constexpr auto kRefillWait = std::chrono::milliseconds(500);

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

}  // namespace

TModListItem::TModListItem(TVexelSound3D& owner) : Owner_(owner) {}

TModListItem::~TModListItem() {
  Unload();
}

bool TModListItem::Load() {
  if (Loaded_) return true;
  if (!Owner_.Mixer() || LoadFailed_) return false;
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(Owner_.ResolveFile(FileName), bytes)) {
    LoadFailed_ = true;
    Owner_.Report("Error loading module: " + FileName);
    return false;
  }
  auto player = std::make_unique<platform::TModuleDecoder>();
  std::string error;
  if (!player->Load(bytes, error)) {
    LoadFailed_ = true;
    Owner_.Report("Error initializing the module player");
    return false;
  }
  Player_ = std::move(player);
  Buffer_ = std::make_unique<platform::TAudioStream>();
  Owner_.Mixer()->AddStream(Buffer_.get());
  if (!Thread_) Thread_ = std::make_unique<TModPlugEventThread>([this] { WaitAndRefill(); });
  Loaded_ = true;
  return true;
}

void TModListItem::Play() {
  if (!Load()) return;
  platform::TAudioMixer& mixer = *Owner_.Mixer();
  mixer.SetStreamPlaying(Buffer_.get(), false);
  {
    std::lock_guard lock(Lock_);
    Player_->SetLoop(Loop);
    Draining_ = false;
    Buffer_->Clear();
    Buffer_->RequestRefillAhead();
  }
  mixer.SetStreamPlaying(Buffer_.get(), true);
  Thread_->Resume();
}

void TModListItem::Stop() {
  if (!Loaded_) return;
  Owner_.Mixer()->SetStreamPlaying(Buffer_.get(), false);
  Thread_->Suspend();
}

void TModListItem::Unload() {
  LoadFailed_ = false;
  if (!Loaded_) return;
  Stop();
  Thread_->Terminate();
  Buffer_->Wake();
  Thread_->WaitFor();
  Thread_.reset();
  Owner_.Mixer()->RemoveStream(Buffer_.get());
  Buffer_.reset();
  Player_.reset();
  Loaded_ = false;
}

bool TModListItem::Playing() const {
  return Loaded_ && Buffer_->Playing();
}

double TModListItem::PositionSeconds() const {
  std::lock_guard lock(Lock_);
  return Player_ ? Player_->PositionSeconds() : 0.0;
}

void TModListItem::WaitAndRefill() {
  const int half = Buffer_->WaitForRefill(kRefillWait);
  if (half >= 0) Refill(half);
}

void TModListItem::Refill(int half) {
  bool ended = false;
  {
    std::lock_guard lock(Lock_);
    const std::span<std::int16_t> block = Buffer_->Half(half);
    const std::size_t frames = Player_->Render(block.data(), block.size() / 2);
    std::fill(block.begin() + static_cast<std::ptrdiff_t>(frames * 2), block.end(),
              std::int16_t{0});
    ended = frames == 0 && Draining_;
    Draining_ = frames == 0;
  }
  Buffer_->Publish();
  if (ended) Stop();
}

}  // namespace vexel
