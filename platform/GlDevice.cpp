#include "GlDevice.h"

#include <algorithm>
#include <cstdio>

namespace platform {
namespace {

using vexel::TBlendFactor;

// A batch holds at most this many vertices (8192 quads of six) before it is drawn.
constexpr size_t kMaxBatchVertices = 6 * 8192;

const char* kVertexShader = R"(#version 330 core
in vec2 aPos;
in vec4 aColor;
in vec2 aUV;
uniform vec2 uViewSize;
out vec4 vColor;
out vec2 vUV;
void main() {
  // Pixel centres lie on integer coordinates for the engine and half-way for OpenGL. The back
  // buffer is kept top row first, so edges shared by two quads fill the same pixels as the
  // engine's top-left rule says.
  vec2 p = (aPos + vec2(0.5)) / uViewSize;
  gl_Position = vec4(p.x * 2.0 - 1.0, p.y * 2.0 - 1.0, 0.0, 1.0);
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

/// A texture living in one OpenGL context; it is deleted with the context still alive only.
class TGlTexture : public vexel::TTexture {
 public:
  TGlTexture(int32_t width, int32_t height, std::vector<uint32_t> texels, GLuint name,
             PFNGLDELETETEXTURESPROC deleteTextures, std::shared_ptr<bool> contextAlive)
      : TTexture(width, height, std::move(texels)),
        Name(name),
        DeleteTextures_(deleteTextures),
        ContextAlive_(std::move(contextAlive)) {}
  ~TGlTexture() override {
    if (*ContextAlive_) DeleteTextures_(1, &Name);
  }
  TGlTexture(const TGlTexture&) = delete;
  TGlTexture& operator=(const TGlTexture&) = delete;
  const GLuint Name;

 private:
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
    : Window_(window), ContextAlive_(std::make_shared<bool>(false)) {
  Context_ = SDL_GL_CreateContext(window.Handle());
  if (!Context_) return;
  *ContextAlive_ = true;
  if (!Gl_.Load() || !MakeProgram()) return;
  SDL_GL_SetSwapInterval(params.VSync ? 1 : 0);
  Gl_.GetIntegerv(GL_MAX_TEXTURE_SIZE, &MaxTextureSize_);
  MakeBuffers();
  if (!MakeBackBuffer(params.BackBufferWidth, params.BackBufferHeight)) return;
  Gl_.Enable(GL_BLEND);
  Gl_.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  SetFiltering(false);
  Batch_.reserve(kMaxBatchVertices);
  Valid_ = true;
}

TGlDevice::~TGlDevice() {
  if (!Context_) return;
  if (Gl_.DeleteProgram) {
    ReleaseBackBuffer();
    Gl_.DeleteProgram(Program_);
    Gl_.DeleteBuffers(1, &VertexBuffer_);
    Gl_.DeleteVertexArrays(1, &VertexArray_);
    Gl_.DeleteTextures(1, &WhiteTexture_);
    Gl_.DeleteSamplers(2, Samplers_);
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
  ViewSizeLocation_ = Gl_.GetUniformLocation(Program_, "uViewSize");
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
  Gl_.GenSamplers(2, Samplers_);
  for (int i = 0; i < 2; ++i) {
    const GLint filter = i == 1 ? GL_LINEAR : GL_NEAREST;
    Gl_.SamplerParameteri(Samplers_[i], GL_TEXTURE_MIN_FILTER, filter);
    Gl_.SamplerParameteri(Samplers_[i], GL_TEXTURE_MAG_FILTER, filter);
    Gl_.SamplerParameteri(Samplers_[i], GL_TEXTURE_WRAP_S, GL_REPEAT);
    Gl_.SamplerParameteri(Samplers_[i], GL_TEXTURE_WRAP_T, GL_REPEAT);
  }
  const uint32_t white = 0xFFFFFFFF;
  Gl_.GenTextures(1, &WhiteTexture_);
  Gl_.ActiveTexture(GL_TEXTURE0);
  Gl_.BindTexture(GL_TEXTURE_2D, WhiteTexture_);
  Gl_.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_BYTE, &white);
  Gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  BoundTexture_ = WhiteTexture_;
}

bool TGlDevice::MakeBackBuffer(int32_t width, int32_t height) {
  Width_ = width;
  Height_ = height;
  Gl_.GenTextures(1, &ColorTexture_);
  Gl_.BindTexture(GL_TEXTURE_2D, ColorTexture_);
  Gl_.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
  Gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  Gl_.GenFramebuffers(1, &Framebuffer_);
  Gl_.BindFramebuffer(GL_FRAMEBUFFER, Framebuffer_);
  Gl_.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, ColorTexture_, 0);
  Gl_.BindTexture(GL_TEXTURE_2D, BoundTexture_);
  if (Gl_.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
  BindBackBuffer();
  return true;
}

void TGlDevice::ReleaseBackBuffer() {
  Gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
  Gl_.DeleteFramebuffers(1, &Framebuffer_);
  Gl_.DeleteTextures(1, &ColorTexture_);
}

void TGlDevice::BindBackBuffer() {
  Gl_.BindFramebuffer(GL_FRAMEBUFFER, Framebuffer_);
  Gl_.Viewport(0, 0, Width_, Height_);
  Gl_.Uniform2f(ViewSizeLocation_, static_cast<float>(Width_), static_cast<float>(Height_));
}

bool TGlDevice::Reset(const vexel::TPresentParams& params) {
  Flush();
  SDL_GL_SetSwapInterval(params.VSync ? 1 : 0);
  if (params.BackBufferWidth == Width_ && params.BackBufferHeight == Height_) return true;
  ReleaseBackBuffer();
  return MakeBackBuffer(params.BackBufferWidth, params.BackBufferHeight);
}

vexel::TCooperativeLevel TGlDevice::TestCooperativeLevel() {
  return Valid_ ? vexel::TCooperativeLevel::Ok : vexel::TCooperativeLevel::Failed;
}

void TGlDevice::MakeCurrent() {
  if (SDL_GL_GetCurrentContext() != Context_) SDL_GL_MakeCurrent(Window_.Handle(), Context_);
}

void TGlDevice::BeginScene() {
  MakeCurrent();
  BindBackBuffer();
}

void TGlDevice::EndScene() {
  Flush();
}

void TGlDevice::Present() {
  Flush();
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
  SDL_GL_SwapWindow(Window_.Handle());
  BindBackBuffer();
}

// Every vertex lies at depth 0 and the depth test passes "less or equal" against a buffer
// cleared to 1, so a depth buffer never changes the picture: this back end has none, and a
// depth clear has nothing to do.
void TGlDevice::Clear(uint32_t argb, bool, const vexel::TRect* area) {
  MakeCurrent();
  Flush();
  if (area) {
    Gl_.Enable(GL_SCISSOR_TEST);
    Gl_.Scissor(area->Left, area->Top, area->Right - area->Left, area->Bottom - area->Top);
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
}

void TGlDevice::SetFiltering(bool linear) {
  Flush();
  Gl_.BindSampler(0, Samplers_[linear ? 1 : 0]);
}

void TGlDevice::SetTexture(const vexel::TTexture* texture) {
  const auto* gl = dynamic_cast<const TGlTexture*>(texture);
  const GLuint name = gl ? gl->Name : WhiteTexture_;
  if (name == BoundTexture_) return;
  Flush();
  Gl_.BindTexture(GL_TEXTURE_2D, name);
  BoundTexture_ = name;
}

void TGlDevice::DrawTriangleFan(const vexel::TVertex* vertices, int32_t count) {
  if (count < 3) return;
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
  GLuint name = 0;
  Gl_.GenTextures(1, &name);
  Gl_.BindTexture(GL_TEXTURE_2D, name);
  Gl_.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
  Gl_.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 texels.data());
  Gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  Gl_.BindTexture(GL_TEXTURE_2D, BoundTexture_);
  return std::make_shared<TGlTexture>(width, height, std::move(texels), name, Gl_.DeleteTextures,
                                      ContextAlive_);
}

bool TGlDevice::ReadBackBuffer(std::vector<uint32_t>& argb, int32_t& width, int32_t& height) {
  MakeCurrent();
  Flush();
  argb.resize(static_cast<size_t>(Width_) * Height_);
  Gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, Framebuffer_);
  Gl_.PixelStorei(GL_PACK_ALIGNMENT, 4);
  Gl_.ReadPixels(0, 0, Width_, Height_, GL_BGRA, GL_UNSIGNED_BYTE, argb.data());
  width = Width_;
  height = Height_;
  return true;
}

std::unique_ptr<vexel::TDisplayDevice> TGlSystem::CreateDevice(const vexel::TPresentParams& params,
                                                               bool) {
  auto device = std::make_unique<TGlDevice>(Window_, params);
  if (!device->Valid()) return nullptr;
  return device;
}

}  // namespace platform
