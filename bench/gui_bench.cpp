// The editor's drawing costs: building the face once at window creation, one paint, and one
// knob drag move (paint, apply at 48 kHz, paint), which runs for every mouse movement while a
// knob is turned. Fonts are found and opened on the first run, outside the timing.

#include <benchmark/benchmark.h>

#include <vector>

#include "editor/editor_input.h"
#include "editor/face.h"
#include "editor/paint.h"
#include "editor/plugin_controls.h"
#include "plugin/entry_points.h"
#include "plugin/instance.h"

namespace {

using namespace lumra;

void BM_BuildFace(benchmark::State& state) {
  editor::BuildFace();
  for (auto _ : state) benchmark::DoNotOptimize(editor::BuildFace());
}
BENCHMARK(BM_BuildFace)->Unit(benchmark::kMillisecond);

void BM_Paint(benchmark::State& state) {
  const editor::FacePictures pictures = editor::BuildFace();
  TTextWriter text(editor::WindowFont());
  TFDIB backBuffer(0, 0);
  const ParamBlock block = LoadTimeBlock();
  for (auto _ : state) {
    editor::ComposePaint(pictures, block, {}, text, '.', backBuffer);
    benchmark::DoNotOptimize(backBuffer.Pixels().data());
  }
}
BENCHMARK(BM_Paint)->Unit(benchmark::kMicrosecond);

// The window's side of a drag, painting into a back buffer as the window does.
class PaintOnly final : public editor::EditorWindowActions {
 public:
  explicit PaintOnly(const editor::FacePictures& pictures) : pictures_(pictures), text_(editor::WindowFont()) {}
  void Paint(const ParamBlock& block) override {
    editor::ComposePaint(pictures_, block, state, text_, '.', backBuffer_);
  }
  void OpenLibrary() override {}
  void CaptureMouse() override {}
  void ReleaseMouse() override {}
  editor::PaintState state;

 private:
  const editor::FacePictures& pictures_;
  TTextWriter text_;
  TFDIB backBuffer_{0, 0};
};

void BM_DragMove(benchmark::State& state) {
  plugin::LoadLibraryInstance();
  std::vector<float> left(512), right(512);
  float* channels[2] = {left.data(), right.data()};
  plugin::PostWave(channels, 48000, 2, 512);  // configured for 48 kHz

  const editor::FacePictures pictures = editor::BuildFace();
  PaintOnly window(pictures);
  editor::PluginControls controls;
  editor::EditorInput input(controls, window);
  const editor::TPoint centre = editor::KnobCentre(0);
  input.MouseDown(editor::MouseButton::Left, centre.X, centre.Y);
  int step = 0;
  for (auto _ : state) {
    // Round the knob, so every move changes the value.
    input.MouseMove(centre.X - 30 + (step % 60), centre.Y - 30);
    ++step;
  }
  input.MouseUp();
  plugin::Destroy();
}
BENCHMARK(BM_DragMove)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
