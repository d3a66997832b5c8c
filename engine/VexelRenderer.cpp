#include "VexelRenderer.h"

#include <cmath>
#include <numbers>

#include "VexelScreen.h"

namespace vexel {

void RotateScalePoint(float& x, float& y, float cx, float cy, float radians, float sx, float sy) {
  const double c = std::cos(static_cast<double>(radians));
  const double s = std::sin(static_cast<double>(radians));
  const double dx = static_cast<double>(x) - cx;
  const double dy = static_cast<double>(y) - cy;
  x = static_cast<float>(cx + c * sx * dx - s * sy * dy);
  y = static_cast<float>(cy + s * sx * dx + c * sy * dy);
}

void TVexelRenderer::Bind(TVexelScreen* screen) {
  Screen_ = screen;
  if (!screen || !screen->Device()) return;
  Device_ = screen->Device();
  MirrorX_ = false;
  MirrorY_ = false;
  SetTexCoords(0, 0, 1, 0, 1, 1, 0, 1);
  SetPositions(0, 0, 1, 0, 1, 1, 0, 1);
  SetColors(0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF);
}

void TVexelRenderer::SetTexCoords(float u0, float v0, float u1, float v1, float u2, float v2,
                                  float u3, float v3) {
  TexCoords_ = {TTexCoord{u0, v0}, TTexCoord{u1, v1}, TTexCoord{u2, v2}, TTexCoord{u3, v3}};
  ApplyTexCoords();
}

void TVexelRenderer::ApplyTexCoords() {
  // Which stored pair each vertex takes, by mirror flags (none, X, Y, both).
  static constexpr int kOrder[4][4] = {{0, 1, 2, 3}, {1, 0, 3, 2}, {3, 2, 1, 0}, {2, 3, 0, 1}};
  const int mode = (MirrorX_ ? 1 : 0) + (MirrorY_ ? 2 : 0);
  for (int i = 0; i < 4; ++i) {
    Vertices_[i].U = TexCoords_[kOrder[mode][i]].U;
    Vertices_[i].V = TexCoords_[kOrder[mode][i]].V;
  }
}

void TVexelRenderer::SetMirrorY(bool flag) {
  MirrorY_ = flag;
  ApplyTexCoords();
}

void TVexelRenderer::SetMirrorX(bool flag) {
  MirrorX_ = flag;
}

void TVexelRenderer::SetColors(uint32_t c0, uint32_t c1, uint32_t c2, uint32_t c3) {
  Vertices_[0].Color = c0;
  Vertices_[1].Color = c1;
  Vertices_[2].Color = c2;
  Vertices_[3].Color = c3;
}

void TVexelRenderer::SetPositions(float x0, float y0, float x1, float y1, float x2, float y2,
                                  float x3, float y3) {
  Vertices_[0].X = x0;
  Vertices_[0].Y = y0;
  Vertices_[1].X = x1 + 0.5f;
  Vertices_[1].Y = y1;
  Vertices_[2].X = x2 + 0.5f;
  Vertices_[2].Y = y2 + 0.5f;
  Vertices_[3].X = x3;
  Vertices_[3].Y = y3 + 0.5f;
}

void TVexelRenderer::SetTexture(const TTexture* texture) {
  if (Screen_) Screen_->SetTexture(texture);
}

void TVexelRenderer::RotateScale(float cx, float cy, float angle, float sx, float sy) {
  const float radians = static_cast<float>(angle * std::numbers::pi / 180.0);
  for (auto& v : Vertices_) RotateScalePoint(v.X, v.Y, cx, cy, radians, sx, sy);
}

void TVexelRenderer::Rotate(float cx, float cy, float angle) {
  RotateScale(cx, cy, angle, 1, 1);
}

void TVexelRenderer::Render() {
  if (Screen_) Screen_->DrawVertices(Vertices_.data(), 4);
}

}  // namespace vexel
