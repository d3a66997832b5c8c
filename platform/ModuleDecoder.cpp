#include "ModuleDecoder.h"

#include <libopenmpt/libopenmpt.hpp>
#include <sstream>

namespace platform {

TModuleDecoder::TModuleDecoder() = default;
TModuleDecoder::~TModuleDecoder() = default;

bool TModuleDecoder::Load(std::span<const std::uint8_t> data, std::string& error) {
  std::ostringstream log;
  try {
    Module_ = std::make_unique<openmpt::module>(data.data(), data.size(), log);
  } catch (const std::exception& e) {
    Module_.reset();
    error = e.what();
    return false;
  }
  return true;
}

void TModuleDecoder::SetLoop(bool loop) {
  if (Module_) Module_->set_repeat_count(loop ? -1 : 0);
}

std::size_t TModuleDecoder::Render(std::int16_t* interleaved, std::size_t frames) {
  if (!Module_) return 0;
  return Module_->read_interleaved_stereo(kRate, frames, interleaved);
}

double TModuleDecoder::PositionSeconds() const {
  return Module_ ? Module_->get_position_seconds() : 0.0;
}

double TModuleDecoder::DurationSeconds() const {
  return Module_ ? Module_->get_duration_seconds() : 0.0;
}

}  // namespace platform
