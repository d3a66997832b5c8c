#include "GlDevice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace platform {
namespace {

using vexel::TBlendFactor;

// One step of the rasteriser's sub-pixel grid (8 bits on Mesa and common hardware).
constexpr float kRasterStep = 1.0f / 256.0f;

// A batch holds at most this many vertices (8192 quads of six) before it is drawn.
constexpr size_t kMaxBatchVertices = 6 * 8192;

const char* kVertexShader = R"(#version 330 core
in vec2 aPos;
in vec4 aColor;
in vec2 aUV;
uniform vec4 uTransform;
out vec4 vColor;
out vec2 vUV;
void main() {
  // Pixel centres lie on integer coordinates for the engine and half-way for OpenGL. The
  // transform scales pixels to the target and, for the window, turns the rows upside down.
  gl_Position = vec4((aPos + vec2(0.5)) * uTransform.xy + uTransform.zw, 0.0, 1.0);
  vColor = aColor;
  vUV = aUV;
}
)";

const char* kFragmentShader = R"(#version 330 core
uniform sampler2D uTexture;
in vec4 vColor;
in vec2 vUV;
out vec4 fragColor;
void main() {
  fragColor = texture(uTexture, vUV) * vColor;
}
)";

GLenum GlFactor(TBlendFactor factor) {
  switch (factor) {
    case TBlendFactor::Zero:
      return GL_ZERO;
    case TBlendFactor::One:
      return GL_ONE;
    case TBlendFactor::SrcColor:
      return GL_SRC_COLOR;
    case TBlendFactor::InvSrcColor:
      return GL_ONE_MINUS_SRC_COLOR;
    case TBlendFactor::SrcAlpha:
      return GL_SRC_ALPHA;
    case TBlendFactor::InvSrcAlpha:
      return GL_ONE_MINUS_SRC_ALPHA;
    case TBlendFactor::DestAlpha:
      return GL_DST_ALPHA;
    case TBlendFactor::InvDestAlpha:
      return GL_ONE_MINUS_DST_ALPHA;
    case TBlendFactor::DestColor:
      return GL_DST_COLOR;
    case TBlendFactor::InvDestColor:
      return GL_ONE_MINUS_DST_COLOR;
  }
  return GL_ONE;
}

bool IsPowerOfTwo(int32_t side) {
  return side > 0 && (side & (side - 1)) == 0;
}

// The edge rule of a texture's sampler: a side that is no power of two samples transparent black
// beyond its edge, just as a picture padded into a larger power-of-two texture would.
int EdgesOf(int32_t width, int32_t height) {
  return (IsPowerOfTwo(width) ? 0 : 2) | (IsPowerOfTwo(height) ? 0 : 1);
}

// Whether every texel of a picture is fully opaque.
bool AllOpaque(const std::vector<uint32_t>& texels) {
  return std::all_of(texels.begin(), texels.end(), [](uint32_t c) { return (c >> 24) == 0xFF; });
}

// Quads covering fewer pixels than this are drawn from their pictures as they come (letters,
// small icons): a copy would cost more than it saves.
constexpr int32_t kMinCopiedPixels = 32 * 32;

// Texels the resampled copies may hold together (8 MB).
constexpr size_t kCopyBudgetTexels = 2 * 1024 * 1024;

// How far a corner may stray from a pixel edge, in pixels.
constexpr float kEdgeTolerance = 1.0f / 1024.0f;

// Whether a coordinate lies on a pixel edge, half-way between two pixel centres.
bool OnPixelEdge(float value) {
  return std::fabs(value - std::floor(value) - 0.5f) <= kEdgeTolerance;
}

// The lowest vertex alpha drawn as opaque: the screen colour turns a vertex's full 255 into 254.
constexpr uint32_t kOpaqueVertexAlpha = 0xFE;

/// A texture living in one OpenGL context; it is deleted with the context still alive only, and
/// its texels are read back from the device the first time the pixel test asks for them.
class TGlTexture : public vexel::TTexture {
 public:
  TGlTexture(TGlDevice& device, int32_t width, int32_t height, GLuint name, bool opaque,
             PFNGLDELETETEXTURESPROC deleteTextures, std::shared_ptr<bool> contextAlive)
      : TTexture(width, height),
        Name(name),
        Edges(EdgesOf(width, height)),
        Opaque(opaque),
        Device_(device),
        DeleteTextures_(deleteTextures),
        ContextAlive_(std::move(contextAlive)) {}
  ~TGlTexture() override {
    if (!*ContextAlive_) return;
    Device_.ForgetCopiesOf(Name);
    DeleteTextures_(1, &Name);
  }
  TGlTexture(const TGlTexture&) = delete;
  TGlTexture& operator=(const TGlTexture&) = delete;
  const GLuint Name;
  const int Edges;
  const bool Opaque;

 protected:
  std::vector<uint32_t> ReadTexels() const override {
    if (!*ContextAlive_) return {};
    return Device_.ReadTexture(Name, Width(), Height());
  }

 private:
  TGlDevice& Device_;
  PFNGLDELETETEXTURESPROC DeleteTextures_;
  std::shared_ptr<bool> ContextAlive_;
};

GLuint CompileShader(const TGlFunctions& gl, GLenum kind, const char* source) {
  const GLuint shader = gl.CreateShader(kind);
  gl.ShaderSource(shader, 1, &source, nullptr);
  gl.CompileShader(shader);
  GLint ok = 0;
  gl.GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    gl.GetShaderInfoLog(shader, sizeof log, nullptr, log);
    std::fprintf(stderr, "Shader does not compile: %s\n", log);
    gl.DeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

TGlDevice::TGlDevice(TPlatformWindow& window, const vexel::TPresentParams& params)
    : Window_(window), ContextAlive_(std::make_shared<bool>(false)), Copies_(kCopyBudgetTexels) {
  Context_ = SDL_GL_CreateContext(window.Handle());
  if (!Context_) return;
  *ContextAlive_ = true;
  if (!Gl_.Load() || !MakeProgram()) return;
  SDL_GL_SetSwapInterval(params.VSync ? 1 : 0);
  Gl_.GetIntegerv(GL_MAX_TEXTURE_SIZE, &MaxTextureSize_);
  GLint doubleBuffered = 1;
  Gl_.GetIntegerv(GL_DOUBLEBUFFER, &doubleBuffered);
  DoubleBuffered_ = doubleBuffered != 0;
  MakeBuffers();
  Width_ = params.BackBufferWidth;
  Height_ = params.BackBufferHeight;
  Gl_.Enable(GL_BLEND);
  Gl_.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  Batch_.reserve(kMaxBatchVertices);
  Valid_ = true;
}

TGlDevice::~TGlDevice() {
  if (!Context_) return;
  if (Gl_.DeleteProgram) {
    ReleaseBackBuffer();
    DeleteTextures(Copies_.Clear());
    if (CopyFramebuffer_) Gl_.DeleteFramebuffers(1, &CopyFramebuffer_);
    Gl_.DeleteProgram(Program_);
    Gl_.DeleteBuffers(1, &VertexBuffer_);
    Gl_.DeleteVertexArrays(1, &VertexArray_);
    Gl_.DeleteTextures(1, &WhiteTexture_);
    Gl_.DeleteSamplers(8, Samplers_);
  }
  *ContextAlive_ = false;
  SDL_GL_DeleteContext(Context_);
}

bool TGlDevice::MakeProgram() {
  const GLuint vs = CompileShader(Gl_, GL_VERTEX_SHADER, kVertexShader);
  const GLuint fs = CompileShader(Gl_, GL_FRAGMENT_SHADER, kFragmentShader);
  if (!vs || !fs) return false;
  Program_ = Gl_.CreateProgram();
  Gl_.AttachShader(Program_, vs);
  Gl_.AttachShader(Program_, fs);
  Gl_.BindAttribLocation(Program_, 0, "aPos");
  Gl_.BindAttribLocation(Program_, 1, "aColor");
  Gl_.BindAttribLocation(Program_, 2, "aUV");
  Gl_.LinkProgram(Program_);
  Gl_.DeleteShader(vs);
  Gl_.DeleteShader(fs);
  GLint ok = 0;
  Gl_.GetProgramiv(Program_, GL_LINK_STATUS, &ok);
  if (!ok) return false;
  Gl_.UseProgram(Program_);
  Gl_.Uniform1i(Gl_.GetUniformLocation(Program_, "uTexture"), 0);
  TransformLocation_ = Gl_.GetUniformLocation(Program_, "uTransform");
  return true;
}

void TGlDevice::MakeBuffers() {
  Gl_.GenVertexArrays(1, &VertexArray_);
  Gl_.BindVertexArray(VertexArray_);
  Gl_.GenBuffers(1, &VertexBuffer_);
  Gl_.BindBuffer(GL_ARRAY_BUFFER, VertexBuffer_);
  Gl_.BufferData(GL_ARRAY_BUFFER, kMaxBatchVertices * sizeof(vexel::TVertex), nullptr,
                 GL_STREAM_DRAW);
  constexpr GLsizei kStride = sizeof(vexel::TVertex);
  Gl_.EnableVertexAttribArray(0);
  Gl_.VertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, kStride, nullptr);
  Gl_.EnableVertexAttribArray(1);
  Gl_.VertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, kStride,
                          reinterpret_cast<const void*>(offsetof(vexel::TVertex, Color)));
  Gl_.EnableVertexAttribArray(2);
  Gl_.VertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, kStride,
                          reinterpret_cast<const void*>(offsetof(vexel::TVertex, U)));
  Gl_.GenSamplers(8, Samplers_);
  for (int i = 0; i < 8; ++i) {
    const GLint filter = (i & 4) ? GL_LINEAR : GL_NEAREST;
    Gl_.SamplerParameteri(Samplers_[i], GL_TEXTURE_MIN_FILTER, filter);
    Gl_.SamplerParameteri(Samplers_[i], GL_TEXTURE_MAG_FILTER, filter);
    // Nearest sampling stays on the edge texel when rounding takes a coordinate a hair past
    // the edge; linear sampling mixes in what lies beyond (the border colour of a sampler
    // starts as transparent black).
    const bool linear = (i & 4) != 0;
    Gl_.SamplerParameteri(Samplers_[i], GL_TEXTURE_WRAP_S,
                          !linear   ? GL_CLAMP_TO_EDGE
                          : (i & 2) ? GL_CLAMP_TO_BORDER
                                    : GL_REPEAT);
    Gl_.SamplerParameteri(Samplers_[i], GL_TEXTURE_WRAP_T,
                          !linear   ? GL_CLAMP_TO_EDGE
                          : (i & 1) ? GL_CLAMP_TO_BORDER
                                    : GL_REPEAT);
  }
  const uint32_t white = 0xFFFFFFFF;
  Gl_.GenTextures(1, &WhiteTexture_);
  Gl_.ActiveTexture(GL_TEXTURE0);
  Gl_.BindTexture(GL_TEXTURE_2D, WhiteTexture_);
  Gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  Gl_.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_BYTE, &white);
  BoundTexture_ = WhiteTexture_;
  Picture_.Name = WhiteTexture_;
}

// Makes a texture of one level and leaves it bound: set before the texels arrive, so no reduced
// copies are made. Without texels its contents are left undefined.
GLuint TGlDevice::NewTexture(int32_t width, int32_t height, const void* texels) {
  GLuint name = 0;
  Gl_.GenTextures(1, &name);
  Gl_.BindTexture(GL_TEXTURE_2D, name);
  Gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  Gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  Gl_.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
  Gl_.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels);
  return name;
}

bool TGlDevice::MakeBackBuffer() {
  ColorTexture_ = NewTexture(Width_, Height_, nullptr);
  Gl_.GenFramebuffers(1, &Framebuffer_);
  Gl_.BindFramebuffer(GL_FRAMEBUFFER, Framebuffer_);
  Gl_.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, ColorTexture_, 0);
  Gl_.BindTexture(GL_TEXTURE_2D, BoundTexture_);
  if (Gl_.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) return true;
  ReleaseBackBuffer();
  return false;
}

void TGlDevice::ReleaseBackBuffer() {
  Gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
  if (Framebuffer_) Gl_.DeleteFramebuffers(1, &Framebuffer_);
  if (ColorTexture_) Gl_.DeleteTextures(1, &ColorTexture_);
  Framebuffer_ = ColorTexture_ = 0;
  TargetBound_ = false;
}

bool TGlDevice::WindowFitsBackBuffer() const {
  int dw = 0;
  int dh = 0;
  SDL_GL_GetDrawableSize(Window_.Handle(), &dw, &dh);
  return dw == Width_ && dh == Height_;
}

// Chooses where this frame is drawn, the first time anything is drawn after a presentation: the
// window itself when no scaling is needed, else the off-screen back buffer (made on first need).
void TGlDevice::BindTarget() {
  if (TargetBound_) return;
  Direct_ = WindowFitsBackBuffer() || (!Framebuffer_ && !MakeBackBuffer());
  Gl_.BindFramebuffer(GL_FRAMEBUFFER, Direct_ ? 0 : Framebuffer_);
  Gl_.Viewport(0, 0, Width_, Height_);
  const float sx = 2.0f / static_cast<float>(Width_);
  const float sy = 2.0f / static_cast<float>(Height_);
  // The off-screen buffer keeps the top row first, the window its lowest row. Turned upside
  // down, a horizontal edge through a pixel centre would fill that row by the opposite rule, so
  // in the window everything is lifted by one step of the rasteriser's 1/256-pixel grid: a
  // centre on a top edge then lies inside, one on a bottom edge outside, as in the back buffer.
  if (Direct_) {
    Gl_.Uniform4f(TransformLocation_, sx, -sy, -1.0f, 1.0f + sy * kRasterStep);
  } else {
    Gl_.Uniform4f(TransformLocation_, sx, sy, -1.0f, -1.0f);
  }
  TargetBound_ = true;
  Presented_ = false;
}

bool TGlDevice::Reset(const vexel::TPresentParams& params) {
  Flush();
  SDL_GL_SetSwapInterval(params.VSync ? 1 : 0);
  if (params.BackBufferWidth == Width_ && params.BackBufferHeight == Height_) return true;
  ReleaseBackBuffer();
  Width_ = params.BackBufferWidth;
  Height_ = params.BackBufferHeight;
  return true;
}

vexel::TCooperativeLevel TGlDevice::TestCooperativeLevel() {
  return Valid_ ? vexel::TCooperativeLevel::Ok : vexel::TCooperativeLevel::Failed;
}

void TGlDevice::MakeCurrent() {
  if (SDL_GL_GetCurrentContext() != Context_) SDL_GL_MakeCurrent(Window_.Handle(), Context_);
}

void TGlDevice::BeginScene() {
  MakeCurrent();
  BindTarget();
}

void TGlDevice::EndScene() {
  Flush();
}

void TGlDevice::Present() {
  MakeCurrent();
  BindTarget();
  Flush();
  if (!Direct_) {
    const SDL_Rect r = Window_.PresentRect();
    int dw = 0;
    int dh = 0;
    SDL_GL_GetDrawableSize(Window_.Handle(), &dw, &dh);
    Gl_.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    Gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, Framebuffer_);
    const bool exact = r.w == Width_ && r.h == Height_;
    if (r.w != dw || r.h != dh) {  // black bars around a letterboxed picture
      Gl_.Viewport(0, 0, dw, dh);
      Gl_.ClearColor(0, 0, 0, 1);
      Gl_.Clear(GL_COLOR_BUFFER_BIT);
    }
    // The back buffer holds the top row first; the window's lowest row comes first.
    Gl_.BlitFramebuffer(0, 0, Width_, Height_, r.x, dh - r.y, r.x + r.w, dh - r.y - r.h,
                        GL_COLOR_BUFFER_BIT, exact ? GL_NEAREST : GL_LINEAR);
  }
  // A surface without a second buffer ignores the swap, and nothing else would hand the frame
  // to the rasteriser: its work would pile up frame after frame.
  if (Direct_) Gl_.Flush();
  SDL_GL_SwapWindow(Window_.Handle());
  TargetBound_ = false;
  Presented_ = true;
  ++Frames_;
}

// Every vertex lies at depth 0 and the depth test passes "less or equal" against a buffer
// cleared to 1, so a depth buffer never changes the picture: this back end has none, and a
// depth clear has nothing to do.
void TGlDevice::Clear(uint32_t argb, bool, const vexel::TRect* area) {
  MakeCurrent();
  BindTarget();
  Flush();
  if (area) {
    const int32_t top = Direct_ ? Height_ - area->Bottom : area->Top;
    Gl_.Enable(GL_SCISSOR_TEST);
    Gl_.Scissor(area->Left, top, area->Right - area->Left, area->Bottom - area->Top);
  }
  Gl_.ClearColor(static_cast<float>((argb >> 16) & 0xFF) / 255.0f,
                 static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
                 static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>(argb >> 24) / 255.0f);
  Gl_.Clear(GL_COLOR_BUFFER_BIT);
  if (area) Gl_.Disable(GL_SCISSOR_TEST);
}

void TGlDevice::SetBlendFactors(TBlendFactor source, TBlendFactor destination) {
  Flush();
  Gl_.BlendFunc(GlFactor(source), GlFactor(destination));
  AlphaBlending_ = source == TBlendFactor::SrcAlpha && destination == TBlendFactor::InvSrcAlpha;
}

void TGlDevice::SetFiltering(bool linear) {
  Linear_ = linear;
}

void TGlDevice::BindSampler(int sampler) {
  if (sampler == BoundSampler_) return;
  Flush();
  Gl_.BindSampler(0, Samplers_[sampler]);
  BoundSampler_ = sampler;
}

void TGlDevice::BindTexture(GLuint name) {
  if (name == BoundTexture_) return;
  Flush();
  Gl_.BindTexture(GL_TEXTURE_2D, name);
  BoundTexture_ = name;
}

void TGlDevice::SetTexture(const vexel::TTexture* texture) {
  const auto* gl = dynamic_cast<const TGlTexture*>(texture);
  Picture_ = gl ? TPicture{gl->Name, gl->Edges, gl->Opaque} : TPicture{WhiteTexture_, 0, true};
}

// Whether a fan lies wholly outside the target, so that it covers no pixel (the race sends
// every sprite of the world; most of them are off the screen).
bool TGlDevice::OutsideTarget(const vexel::TVertex* vertices, int32_t count) const {
  const auto [left, right] = std::minmax_element(
      vertices, vertices + count,
      [](const vexel::TVertex& a, const vexel::TVertex& b) { return a.X < b.X; });
  const auto [top, bottom] = std::minmax_element(
      vertices, vertices + count,
      [](const vexel::TVertex& a, const vexel::TVertex& b) { return a.Y < b.Y; });
  // A pixel's centre lies on integer coordinates: a fan ending at -1 or starting a pixel past
  // the last one reaches none, whatever the rasteriser's rounding.
  return right->X <= -1.0f || bottom->Y <= -1.0f || left->X >= static_cast<float>(Width_) ||
         top->Y >= static_cast<float>(Height_);
}

// Whether a fan, drawn with the usual alpha blending, covers what lies under it: an opaque
// picture (or plain colour) at full vertex alpha, sampled without a transparent border.
bool TGlDevice::CoversOpaquely(const vexel::TVertex* vertices, int32_t count,
                               const TPicture& picture, bool smooth) const {
  if (!AlphaBlending_ || !picture.Opaque || (smooth && picture.Edges != 0)) return false;
  return std::all_of(vertices, vertices + count,
                     [](const vexel::TVertex& v) { return (v.Color >> 24) >= kOpaqueVertexAlpha; });
}

// Turns blending off for opaque fans. A fan at alpha 254 would keep 1/255 of the pixel under it,
// less than one step of a colour channel; drawn opaque, the software rasteriser neither reads the
// pixels under it nor draws what it covers whole.
void TGlDevice::SetOpaqueDrawing(bool opaque) {
  if (opaque == OpaqueDrawing_) return;
  Flush();
  if (opaque) {
    Gl_.Disable(GL_BLEND);
  } else {
    Gl_.Enable(GL_BLEND);
  }
  OpaqueDrawing_ = opaque;
}

// Finds the pixels a fan covers when it is an unturned quad starting on a pixel edge: its
// top-left pixel, its size and its corners' picture coordinates, clockwise from the top left.
bool TGlDevice::CopyKeyOf(const vexel::TVertex* v, int32_t count, TResampledKey& key, int32_t& left,
                          int32_t& top) const {
  if (count != 4) return false;
  const auto same = [](float a, float b) { return std::fabs(a - b) <= kEdgeTolerance; };
  const bool across =
      same(v[0].Y, v[1].Y) && same(v[1].X, v[2].X) && same(v[2].Y, v[3].Y) && same(v[3].X, v[0].X);
  const bool down =
      same(v[0].X, v[1].X) && same(v[1].Y, v[2].Y) && same(v[2].X, v[3].X) && same(v[3].Y, v[0].Y);
  if (!across && !down) return false;
  const float minX = std::min(v[0].X, v[2].X);
  const float maxX = std::max(v[0].X, v[2].X);
  const float minY = std::min(v[0].Y, v[2].Y);
  const float maxY = std::max(v[0].Y, v[2].Y);
  if (!OnPixelEdge(minX) || !OnPixelEdge(minY)) return false;
  // A pixel is covered when its centre lies on the top or left edge or inside the quad.
  left = static_cast<int32_t>(std::lround(minX + 0.5f));
  top = static_cast<int32_t>(std::lround(minY + 0.5f));
  key.Width = static_cast<int32_t>(std::ceil(maxX)) - left;
  key.Height = static_cast<int32_t>(std::ceil(maxY)) - top;
  if (static_cast<int64_t>(key.Width) * key.Height < kMinCopiedPixels) return false;
  key.Source = Picture_.Name;
  key.Sampler = 4 | Picture_.Edges;
  key.Lifted = Direct_;
  key.Right = maxX - static_cast<float>(left);
  key.Bottom = maxY - static_cast<float>(top);
  for (int32_t i = 0; i < 4; ++i) {
    const int corner = (v[i].Y > minY ? 2 : 0) + ((v[i].X > minX) != (v[i].Y > minY) ? 1 : 0);
    key.Corners[static_cast<size_t>(2 * corner)] = v[i].U;
    key.Corners[static_cast<size_t>(2 * corner + 1)] = v[i].V;
  }
  return true;
}

// Draws a quad's picture, smoothly sampled, into a texture of the quad's size: texel (i, j) of
// the copy is what the quad's pixel i, j from its top-left pixel would show, before the vertex
// colour. Returns nullptr when the copy cannot be made.
const TResampledCopy* TGlDevice::MakeCopy(const TResampledKey& key, const vexel::TVertex* fan,
                                          int32_t left, int32_t top) {
  Flush();
  const GLuint name = NewTexture(key.Width, key.Height, nullptr);
  if (!CopyFramebuffer_) Gl_.GenFramebuffers(1, &CopyFramebuffer_);
  Gl_.BindFramebuffer(GL_FRAMEBUFFER, CopyFramebuffer_);
  Gl_.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, name, 0);
  const bool complete = Gl_.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  if (complete) {
    Gl_.Viewport(0, 0, key.Width, key.Height);
    // Lifted as the window's frames are, the copy samples the picture where they would.
    const float sy = 2.0f / static_cast<float>(key.Height);
    Gl_.Uniform4f(TransformLocation_, 2.0f / static_cast<float>(key.Width), sy, -1.0f,
                  key.Lifted ? -1.0f - sy * kRasterStep : -1.0f);
    Gl_.Disable(GL_BLEND);
    Gl_.BindTexture(GL_TEXTURE_2D, key.Source);
    Gl_.BindSampler(0, Samplers_[key.Sampler]);
    std::array<vexel::TVertex, 6> triangles = {fan[0], fan[1], fan[2], fan[0], fan[2], fan[3]};
    for (vexel::TVertex& v : triangles) {
      v.X -= static_cast<float>(left);
      v.Y -= static_cast<float>(top);
      v.Color = 0xFFFFFFFF;
    }
    Gl_.BufferSubData(GL_ARRAY_BUFFER, 0, sizeof triangles, triangles.data());
    Gl_.DrawArrays(GL_TRIANGLES, 0, 6);
  }
  Gl_.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
  // Back to the frame's target and to the state the frame's fans were drawn with.
  TargetBound_ = false;
  BindTarget();
  if (!OpaqueDrawing_) Gl_.Enable(GL_BLEND);
  Gl_.BindTexture(GL_TEXTURE_2D, WhiteTexture_);
  BoundTexture_ = WhiteTexture_;
  BoundSampler_ = -1;
  if (!complete) {
    Gl_.DeleteTextures(1, &name);
    return nullptr;
  }
  const bool opaque = AllOpaque(ReadTexture(name, key.Width, key.Height));
  DeleteTextures(Copies_.Add(key, {name, opaque, Frames_}));
  ++CopiesMade_;
  return Copies_.Find(key, Frames_);
}

void TGlDevice::DeleteTextures(const std::vector<uint32_t>& names) {
  for (const uint32_t name : names) {
    if (name == BoundTexture_) {
      Flush();
      Gl_.BindTexture(GL_TEXTURE_2D, WhiteTexture_);
      BoundTexture_ = WhiteTexture_;
    }
    Gl_.DeleteTextures(1, &name);
  }
}

void TGlDevice::ForgetCopiesOf(GLuint source) {
  MakeCurrent();
  DeleteTextures(Copies_.ForgetSource(source));
}

// Turns a quad into one drawn texel for pixel from its picture's resampled copy, made the first
// time. Smooth sampling reads four texels a pixel and nearest sampling one, and the copy of a
// picture drawn again and again at whole pixel positions (the background, the road, the
// panels) is made once.
bool TGlDevice::DrawFromCopy(vexel::TVertex* fan, int32_t count, TPicture& picture) {
  TResampledKey key;
  int32_t left = 0;
  int32_t top = 0;
  BindTarget();
  if (!CopyKeyOf(fan, count, key, left, top) || !Copies_.Fits(key)) return false;
  const TResampledCopy* copy = Copies_.Find(key, Frames_);
  if (!copy) copy = MakeCopy(key, fan, left, top);
  if (!copy) return false;
  for (int32_t i = 0; i < 4; ++i) {
    fan[i].U = (fan[i].X - static_cast<float>(left) + 0.5f) / static_cast<float>(key.Width);
    fan[i].V = (fan[i].Y - static_cast<float>(top) + 0.5f) / static_cast<float>(key.Height);
  }
  picture = {copy->Name, 0, copy->Opaque};
  return true;
}

void TGlDevice::DrawTriangleFan(const vexel::TVertex* vertices, int32_t count) {
  if (count < 3 || OutsideTarget(vertices, count)) return;
  std::array<vexel::TVertex, 4> quad{};
  TPicture picture = Picture_;
  // A plain colour looks the same sampled either way, and nearest sampling costs the rasteriser
  // a fraction of smooth sampling.
  bool smooth = Linear_ && picture.Name != WhiteTexture_;
  if (smooth && Copying && count == 4) {
    std::copy(vertices, vertices + 4, quad.begin());
    if (DrawFromCopy(quad.data(), count, picture)) {
      vertices = quad.data();
      smooth = false;
    }
  }
  BindTexture(picture.Name);
  BindSampler((smooth ? 4 : 0) | picture.Edges);
  SetOpaqueDrawing(CoversOpaquely(vertices, count, picture, smooth));
  if (Batch_.size() + 3 * static_cast<size_t>(count - 2) > kMaxBatchVertices) Flush();
  for (int32_t i = 1; i + 1 < count; ++i) {
    Batch_.push_back(vertices[0]);
    Batch_.push_back(vertices[i]);
    Batch_.push_back(vertices[i + 1]);
  }
  if (!Batching) Flush();
}

void TGlDevice::Flush() {
  if (Batch_.empty()) return;
  BindTarget();
  Gl_.BufferSubData(GL_ARRAY_BUFFER, 0,
                    static_cast<GLsizeiptr>(Batch_.size() * sizeof(vexel::TVertex)), Batch_.data());
  Gl_.DrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(Batch_.size()));
  ++DrawCalls_;
  Batch_.clear();
}

std::shared_ptr<vexel::TTexture> TGlDevice::CreateTexture(int32_t width, int32_t height,
                                                          std::vector<uint32_t> texels) {
  if (width <= 0 || height <= 0 || width > MaxTextureSize_ || height > MaxTextureSize_ ||
      texels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    return nullptr;
  }
  MakeCurrent();
  Flush();
  const GLuint name = NewTexture(width, height, texels.data());
  Gl_.BindTexture(GL_TEXTURE_2D, BoundTexture_);
  return std::make_shared<TGlTexture>(*this, width, height, name, AllOpaque(texels),
                                      Gl_.DeleteTextures, ContextAlive_);
}

std::vector<uint32_t> TGlDevice::ReadTexture(GLuint name, int32_t width, int32_t height) {
  MakeCurrent();
  std::vector<uint32_t> texels(static_cast<size_t>(width) * static_cast<size_t>(height));
  Gl_.BindTexture(GL_TEXTURE_2D, name);
  Gl_.PixelStorei(GL_PACK_ALIGNMENT, 4);
  Gl_.GetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
  Gl_.BindTexture(GL_TEXTURE_2D, BoundTexture_);
  return texels;
}

bool TGlDevice::ReadBackBuffer(std::vector<uint32_t>& argb, int32_t& width, int32_t& height) {
  MakeCurrent();
  Flush();
  argb.resize(static_cast<size_t>(Width_) * Height_);
  Gl_.PixelStorei(GL_PACK_ALIGNMENT, 4);
  if (Direct_) {
    ReadWindow(argb);
  } else {
    if (!Framebuffer_ && !MakeBackBuffer()) return false;
    Gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, Framebuffer_);
    Gl_.ReadPixels(0, 0, Width_, Height_, GL_BGRA, GL_UNSIGNED_BYTE, argb.data());
  }
  width = Width_;
  height = Height_;
  return true;
}

// Reads the window's picture: the frame being drawn, or once it is presented, the frame shown
// (a double-buffered window shows its front buffer; a single-buffered surface keeps its one).
void TGlDevice::ReadWindow(std::vector<uint32_t>& argb) {
  Gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  Gl_.ReadBuffer(Presented_ && DoubleBuffered_ ? GL_FRONT : GL_BACK);
  Gl_.ReadPixels(0, 0, Width_, Height_, GL_BGRA, GL_UNSIGNED_BYTE, argb.data());
  Gl_.ReadBuffer(GL_BACK);
  const auto row = static_cast<size_t>(Width_);
  for (size_t top = 0, bottom = static_cast<size_t>(Height_) - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(argb.begin() + static_cast<std::ptrdiff_t>(top * row),
                     argb.begin() + static_cast<std::ptrdiff_t>((top + 1) * row),
                     argb.begin() + static_cast<std::ptrdiff_t>(bottom * row));
  }
}

std::unique_ptr<vexel::TDisplayDevice> TGlSystem::CreateDevice(const vexel::TPresentParams& params,
                                                               bool) {
  auto device = std::make_unique<TGlDevice>(Window_, params);
  if (!device->Valid()) return nullptr;
  return device;
}

}  // namespace platform
