// Measures the display device: N textured, tinted, rotated, alpha-blended 64 x 64 quads a frame
// through the engine (batched, and one draw call per quad) and through SDL_Renderer
// (SDL_RenderGeometry), and the paced frame loop's rate, frame-interval spread and processor
// use. Every path reads the frame back every frame, so a frame counts once it is really drawn.
//
//   render-bench [--seconds S]          quads per frame 100, 500, 2000, both paths
//   render-bench --paced [--seconds S]  the frame timer at 90 frames a second, trivial frame
//   render-bench --paced --no-draw      the same loop without touching the display device

#include <SDL.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "engine/VexelRenderer.h"
#include "engine/VexelScreen.h"
#include "engine/VexelTimer.h"
#include "platform/Application.h"
#include "platform/GlDevice.h"

namespace {

using Clock = std::chrono::steady_clock;

/// One quad of the scene: where it is, how it turns, its tint.
struct TQuad {
  float X, Y, Angle, Spin;
  uint32_t Color;
};

std::vector<TQuad> MakeScene(int count) {
  std::vector<TQuad> quads;
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  for (int i = 0; i < count; ++i) {
    quads.push_back({static_cast<float>(next() % 736), static_cast<float>(next() % 536),
                     static_cast<float>(next() % 360), static_cast<float>(next() % 7) - 3.0f,
                     0x80000000u | (next() & 0xFFFFFF)});
  }
  return quads;
}

std::vector<uint32_t> MakeTexels() {
  std::vector<uint32_t> texels(64 * 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const float d = std::hypot(static_cast<float>(x) - 31.5f, static_cast<float>(y) - 31.5f);
      const auto a = static_cast<uint32_t>(std::clamp(255.0f - d * 8.0f, 0.0f, 255.0f));
      texels[static_cast<size_t>(y) * 64 + x] = a << 24 | 0xFFFFFF;
    }
  }
  return texels;
}

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

/// What a run of the engine path measured.
struct TEngineRun {
  double Fps = 0;
  double DrawCallsPerFrame = 0;
};

// Frames per second of the scene drawn through the engine's display device, and how many draw
// calls the batching made of each frame's quads.
TEngineRun EngineFps(vexel::TVexelScreen& screen, const vexel::TTexture& texture,
                     std::vector<TQuad> quads, double seconds, bool batching) {
  vexel::TVexelRenderer renderer;
  renderer.Bind(&screen);
  std::vector<uint32_t> pixels;
  int32_t w = 0;
  int32_t h = 0;
  auto* device = dynamic_cast<platform::TGlDevice*>(screen.Device());
  if (device) device->Batching = batching;
  const uint64_t callsBefore = device ? device->DrawCalls() : 0;
  long frames = 0;
  const auto start = Clock::now();
  while (SecondsSince(start) < seconds) {
    screen.Clear(0, 0, 0, 0);
    screen.BeginScene();
    for (auto& q : quads) {
      q.Angle += q.Spin;
      screen.SetBlendMode(0);
      renderer.SetColors(q.Color, q.Color, q.Color, q.Color);
      renderer.SetTexCoords(0, 0, 1, 0, 1, 1, 0, 1);
      renderer.SetTexture(&texture);
      renderer.SetPositions(q.X - 0.5f, q.Y - 0.5f, q.X + 63.5f, q.Y - 0.5f, q.X + 63.5f,
                            q.Y + 63.5f, q.X - 0.5f, q.Y + 63.5f);
      renderer.RotateScale(q.X + 32, q.Y + 32, q.Angle, 1, 1);
      renderer.Render();
    }
    screen.EndScene();
    screen.Device()->ReadBackBuffer(pixels, w, h);  // waits until the frame is really drawn
    ++frames;
  }
  const double fps = static_cast<double>(frames) / SecondsSince(start);
  const uint64_t calls = device ? device->DrawCalls() - callsBefore : 0;
  return {fps, static_cast<double>(calls) / static_cast<double>(std::max(frames, 1L))};
}

// Frames per second of the same scene through SDL_Renderer.
double SdlRendererFps(const std::vector<uint32_t>& texels, std::vector<TQuad> quads, double seconds,
                      std::string& name) {
  SDL_Window* window = SDL_CreateWindow("bench", 0, 0, 800, 600, SDL_WINDOW_HIDDEN);
  SDL_Renderer* renderer =
      window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
  if (!renderer) {
    name = SDL_GetError();
    if (window) SDL_DestroyWindow(window);
    return 0;
  }
  SDL_RendererInfo info;
  SDL_GetRendererInfo(renderer, &info);
  name = info.name;
  SDL_Texture* texture =
      SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, 64, 64);
  SDL_UpdateTexture(texture, nullptr, texels.data(), 64 * 4);
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
  std::vector<SDL_Vertex> vertices;
  std::vector<int> indices;
  std::vector<uint32_t> pixels(800 * 600);
  long frames = 0;
  const auto start = Clock::now();
  while (SecondsSince(start) < seconds) {
    vertices.clear();
    indices.clear();
    for (auto& q : quads) {
      q.Angle += q.Spin;
      const float r = q.Angle * std::numbers::pi_v<float> / 180.0f;
      const float c = std::cos(r);
      const float s = std::sin(r);
      const SDL_Color color{static_cast<Uint8>(q.Color >> 16), static_cast<Uint8>(q.Color >> 8),
                            static_cast<Uint8>(q.Color), static_cast<Uint8>(q.Color >> 24)};
      const float corners[4][4] = {{0, 0, 0, 0}, {64, 0, 1, 0}, {64, 64, 1, 1}, {0, 64, 0, 1}};
      const int base = static_cast<int>(vertices.size());
      for (const auto& k : corners) {
        const float dx = k[0] - 32;
        const float dy = k[1] - 32;
        vertices.push_back(
            {{q.X + 32 + c * dx - s * dy, q.Y + 32 + s * dx + c * dy}, color, {k[2], k[3]}});
      }
      for (int i : {0, 1, 2, 0, 2, 3}) indices.push_back(base + i);
    }
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 0);
    SDL_RenderClear(renderer);
    SDL_RenderGeometry(renderer, texture, vertices.data(), static_cast<int>(vertices.size()),
                       indices.data(), static_cast<int>(indices.size()));
    SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), 800 * 4);
    SDL_RenderPresent(renderer);
    ++frames;
  }
  const double fps = static_cast<double>(frames) / SecondsSince(start);
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  return fps;
}

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int ComparePaths(double seconds) {
  platform::TPlatformWindow window("bench", 800, 600);
  vexel::TVexelScreen screen(std::make_unique<platform::TGlSystem>(window));
  screen.Initialize();
  const auto texels = MakeTexels();
  auto texture = screen.Device()->CreateTexture(64, 64, texels);
  std::printf("%-6s %12s %12s %14s %18s %8s\n", "quads", "engine fps", "draws/frame",
              "unbatched fps", "SDL_Renderer fps", "ratio");
  for (int count : {100, 500, 2000}) {
    const auto scene = MakeScene(count);
    const TEngineRun engine = EngineFps(screen, *texture, scene, seconds, true);
    const TEngineRun unbatched = EngineFps(screen, *texture, scene, seconds, false);
    std::string name;
    const double sdl = SdlRendererFps(texels, scene, seconds, name);
    std::printf("%-6d %12.1f %12.1f %14.1f %18.1f %8.2f   (SDL_Renderer: %s)\n", count, engine.Fps,
                engine.DrawCallsPerFrame, unbatched.Fps, sdl, sdl > 0 ? engine.Fps / sdl : 0.0,
                name.c_str());
  }
  return 0;
}

int PacedLoop(double seconds, bool draw) {
  platform::TPlatformWindow window("bench", 800, 600);
  vexel::TVexelScreen screen(std::make_unique<platform::TGlSystem>(window));
  screen.Initialize();
  platform::TApplication application;
  platform::TSystemClock clock;
  vexel::TVexelTimer timer(application, clock);
  std::vector<double> intervals;
  auto last = Clock::now();
  const auto start = last;
  const double cpuStart = ProcessCpuSeconds();
  timer.OnTimer = [&](vexel::TVexelTimer&) {
    const auto now = Clock::now();
    intervals.push_back(std::chrono::duration<double, std::milli>(now - last).count());
    last = now;
    if (draw) {
      screen.Clear(10, 10, 40, 0);
      screen.BeginScene();
      screen.EndScene();
    }
    if (SecondsSince(start) >= seconds) application.Terminate();
  };
  timer.SetTargetFPS(90);
  timer.SetMinFPS(10);
  timer.SetMaxFPS(120);
  timer.SetEnabled(true);
  application.Run(nullptr);
  const double wall = SecondsSince(start);
  const double cpu = ProcessCpuSeconds() - cpuStart;
  intervals.erase(intervals.begin());
  std::sort(intervals.begin(), intervals.end());
  const auto at = [&](double q) {
    return intervals[static_cast<size_t>(q * static_cast<double>(intervals.size() - 1))];
  };
  std::printf(
      "paced frames: %.1f fps, frame interval p50 %.2f ms, p99 %.2f ms, max %.2f ms, "
      "CPU %.1f %% of one core\n",
      static_cast<double>(intervals.size() + 1) / wall, at(0.5), at(0.99), intervals.back(),
      100.0 * cpu / wall);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool paced = false;
  bool draw = true;
  double seconds = 2.0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--paced") == 0) {
      paced = true;
    } else if (std::strcmp(argv[i], "--no-draw") == 0) {
      draw = false;
    } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: render-bench [--paced [--no-draw]] [--seconds S]\n");
      return 2;
    }
  }
  return paced ? PacedLoop(seconds, draw) : ComparePaths(seconds);
}
