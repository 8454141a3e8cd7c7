// The editor window of the real lreverb.zqp, driven as a host and a user drive it: through the
// exports and with window messages on the thread that loaded the library.

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "editor/control_table.h"
#include "editor/controls.h"
#include "editor/editor_window_win32.h"
#include "editor/face.h"
#include "editor/paint.h"
#include "editor/value_text.h"
#include "gui/textraster.h"
#include "plugin/param_block.h"
#include "plugin_api.h"
#include "process_footprint.h"
#include "test_thread.h"

namespace lumra::testing {
namespace {

using namespace std::chrono_literals;

BOOL CALLBACK NoteEditorWindow(HWND window, LPARAM out) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != editor::EditorWindowClass) return TRUE;
  *reinterpret_cast<HWND*>(out) = window;
  return FALSE;
}

HWND EditorWindowOfThisThread() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &NoteEditorWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

void PumpFor(std::chrono::milliseconds span) {
  const auto end = std::chrono::steady_clock::now() + span;
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (std::chrono::steady_clock::now() < end);
}

std::string Caption(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The client area as it is on the screen.
TFDIB Capture(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  TFDIB picture(client.right, client.bottom);
  HDC windowDc = GetDC(window);
  HDC memory = CreateCompatibleDC(windowDc);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
  GdiFlush();
  const auto* from = static_cast<const TPixel*>(bits);
  for (std::int32_t y = 0; y < picture.Height(); ++y)
    for (std::int32_t x = 0; x < picture.Width(); ++x)
      picture.ScanLine(y)[static_cast<std::size_t>(x)] = from[y * picture.Width() + x] & 0xFFFFFF;
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, windowDc);
  return picture;
}

class EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(plugin_.Error(), "");
    plugin_->GetPlugName();  // the first call from the loading thread creates the window
    window_ = EditorWindowOfThisThread();
    ASSERT_NE(window_, nullptr);
  }

  ParamBlock Block() const {
    void* live = nullptr;
    std::int32_t size = 0;
    plugin_->GetData(&live, &size);
    ParamBlock block;
    std::memcpy(&block, live, sizeof block);
    return block;
  }

  void Mouse(UINT message, std::int32_t x, std::int32_t y) const {
    SendMessageA(window_, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                 MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
  }
  void Click(std::int32_t x, std::int32_t y) const {
    Mouse(WM_LBUTTONDOWN, x, y);
    Mouse(WM_LBUTTONUP, x, y);
  }

  LoadedPlugin plugin_;
  HWND window_ = nullptr;
};

TEST_F(EditorWindowTest, ShowHideCaptionAndSize) {
  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_EQ(GetWindowLongA(window_, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindowLongA(window_, GWL_STYLE) & WS_THICKFRAME, 0);
  EXPECT_EQ(GetParent(window_), nullptr);

  plugin_->Show();
  PumpFor(50ms);
  EXPECT_TRUE(IsWindowVisible(window_));
  RECT client{};
  GetClientRect(window_, &client);
  EXPECT_EQ(client.right, 492);
  EXPECT_EQ(client.bottom, 425);
  EXPECT_EQ(Caption(window_), "Lumra Reverb  ");
  plugin_->SetText("Track 3");
  EXPECT_EQ(Caption(window_), "Lumra Reverb  Track 3");
  plugin_->SetText(nullptr);
  EXPECT_EQ(Caption(window_), "Lumra Reverb  ");

  // Hidden, the caption still follows; shown again, the size is the face's whatever it was.
  plugin_->Hide();
  EXPECT_FALSE(IsWindowVisible(window_));
  plugin_->SetText("Bus");
  EXPECT_EQ(Caption(window_), "Lumra Reverb  Bus");
  SetWindowPos(window_, nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
  plugin_->Show();
  GetClientRect(window_, &client);
  EXPECT_EQ(client.right, 492);
  EXPECT_EQ(client.bottom, 425);

  SendMessageA(window_, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(IsWindowVisible(window_));
  plugin_->Show();
  SendMessageA(window_, WM_CLOSE, 0, 0);  // the caption's close box only hides
  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_TRUE(IsWindow(window_));
}

TEST_F(EditorWindowTest, WindowShowsThePortablePaint) {
  ParamBlock block = Block();
  block.Values[23] = 1.0f;
  block.Values[19] = 0.7f;
  plugin_->SetData(&block, sizeof block);
  plugin_->Show();
  PumpFor(100ms);
  const TFDIB shown = Capture(window_);

  const editor::FacePictures pictures = editor::BuildFace();
  TTextWriter text(editor::WindowFont());
  TFDIB expected(0, 0);
  char separator[8] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator);
  editor::ComposePaint(pictures, Block(), {}, text, separator[0], expected);
  ASSERT_EQ(shown.Width(), expected.Width());
  ASSERT_EQ(shown.Height(), expected.Height());

  // Glyphs are the platform's; every other pixel must be the portable composition's.
  const auto inTextBox = [&](std::int32_t x, std::int32_t y) {
    for (int i = 0; i < KnobCount; ++i) {
      const std::string value = editor::ValueText(i, block.Values[static_cast<std::size_t>(i)], separator[0]);
      const editor::TPoint at = editor::ValueTextAt(i, CountCharacters(value));
      if (x >= at.X && x < at.X + 10 * static_cast<std::int32_t>(value.size()) && y >= at.Y && y < at.Y + 16) return true;
    }
    return false;
  };
  int compared = 0, differing = 0;
  for (std::int32_t y = 0; y < shown.Height(); ++y)
    for (std::int32_t x = 0; x < shown.Width(); ++x) {
      if (inTextBox(x, y)) continue;
      ++compared;
      if ((shown.ScanLine(y)[static_cast<std::size_t>(x)] & 0xFFFFFF) !=
          (expected.ScanLine(y)[static_cast<std::size_t>(x)] & 0xFFFFFF))
        ++differing;
    }
  EXPECT_GT(compared, 492 * 425 * 9 / 10);
  EXPECT_EQ(differing, 0);
}

TEST_F(EditorWindowTest, KnobsTurnByAngleAndOnlyTheLeftButtonActs) {
  plugin_->Show();
  const editor::TPoint centre = editor::KnobCentre(4);
  const std::int32_t before = plugin_->GetPlugChanged();

  Mouse(WM_RBUTTONDOWN, centre.X, centre.Y);
  Mouse(WM_MOUSEMOVE, centre.X, centre.Y - 30);
  Mouse(WM_RBUTTONUP, centre.X, centre.Y - 30);
  EXPECT_EQ(plugin_->GetPlugChanged(), before);
  EXPECT_EQ(Block().Values[4], LoadValues[4]);

  Mouse(WM_LBUTTONDOWN, centre.X + 10, centre.Y + 10);
  EXPECT_EQ(GetCapture(), window_);
  EXPECT_EQ(plugin_->GetPlugChanged(), before);  // a press alone changes nothing
  const struct {
    std::int32_t dx, dy;
    float value;
  } moves[] = {{0, -30, 0.5f}, {-30, 0, 0.2f}, {900, 0, 0.8f}, {0, 40, 0.0f}, {-5000, -5000, editor::AngleValue(4, centre.X - 5000, centre.Y - 5000)}};
  int count = 0;
  for (const auto& move : moves) {
    Mouse(WM_MOUSEMOVE, centre.X + move.dx, centre.Y + move.dy);
    ++count;
    EXPECT_EQ(Block().Values[4], move.value) << move.dx << "," << move.dy;
    EXPECT_EQ(plugin_->GetPlugChanged(), before + count);
  }
  Mouse(WM_LBUTTONUP, 0, 0);
  EXPECT_NE(GetCapture(), window_);
  Mouse(WM_MOUSEMOVE, centre.X, centre.Y - 30);
  EXPECT_EQ(plugin_->GetPlugChanged(), before + count);
}

TEST_F(EditorWindowTest, PowerFlipsWithoutAnApplicationAndSilencesTheTails) {
  plugin_->Show();
  std::vector<float> left(4096, 0.0f), right(4096, 0.0f);
  left[0] = right[0] = 1.0f;
  std::array<float*, 2> channels{left.data(), right.data()};
  plugin_->PostWave(channels.data(), 44100, 2, 4096);
  const std::int32_t changes = plugin_->GetPlugChanged();

  Click(editor::PowerSwitch.HitArea.Left, editor::PowerSwitch.HitArea.Bottom - 1);
  EXPECT_EQ(plugin_->GetActivePlug(), 0);
  Click(editor::PowerSwitch.HitArea.Left, editor::PowerSwitch.HitArea.Bottom);  // just below: nothing
  EXPECT_EQ(plugin_->GetActivePlug(), 0);
  Click(editor::PowerSwitch.HitArea.Left + 5, editor::PowerSwitch.HitArea.Top + 5);
  EXPECT_EQ(plugin_->GetActivePlug(), 1);
  EXPECT_EQ(plugin_->GetPlugChanged(), changes);

  std::fill(left.begin(), left.end(), 0.0f);
  std::fill(right.begin(), right.end(), 0.0f);
  plugin_->PostWave(channels.data(), 44100, 2, 4096);
  for (std::size_t i = 0; i < left.size(); ++i) {
    ASSERT_EQ(left[i], 0.0f) << i;
    ASSERT_EQ(right[i], 0.0f) << i;
  }
}

TEST_F(EditorWindowTest, LibraryButtonOpensThePresetDialog) {
  plugin_->Show();
  std::atomic<bool> seen{false};
  TestThread closer([&] {
    for (int i = 0; i < 2000 && !seen; ++i) {
      if (HWND dialog = FindWindowA("#32770", "Library"); dialog != nullptr && IsWindowVisible(dialog)) {
        seen = true;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      }
      std::this_thread::sleep_for(5ms);
    }
  });
  Click(editor::LibraryButton.HitArea.Left, editor::LibraryButton.HitArea.Top);  // returns when closed
  closer.join();
  EXPECT_TRUE(seen);
}

TEST_F(EditorWindowTest, MeterDrawsTheLevelWhileShown) {
  plugin_->Show();
  PumpFor(100ms);
  // The newest column of the meter, on the screen.
  const std::int32_t column = editor::MeterArea.Right - 1;
  const auto newestColumn = [&] {
    const TFDIB shown = Capture(window_);
    std::vector<TPixel> pixels;
    for (std::int32_t y = editor::MeterArea.Top; y < editor::MeterArea.Bottom; ++y)
      pixels.push_back(shown.ScanLine(y)[static_cast<std::size_t>(column)] & 0xFFFFFF);
    return pixels;
  };
  const std::vector<TPixel> quiet = newestColumn();
  std::vector<float> block(1024);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = (i % 2 == 0) ? 1.0f : -1.0f;
  plugin_->PostWaveData(block.data(), 44100, 1, 1024);  // mono, full scale
  PumpFor(100ms);
  const std::vector<TPixel> loud = newestColumn();
  int traced = 0;
  for (std::size_t y = 0; y < loud.size(); ++y) {
    if (loud[y] == quiet[y]) continue;
    ++traced;
    EXPECT_EQ(loud[y] >> 16, (loud[y] >> 8) & 0xFF) << "row " << y << ": not a trace colour";
  }
  EXPECT_GT(traced, 20) << "rows of the trace";
  EXPECT_NE(loud.back(), quiet.back()) << "a mono trace rises from the bottom row";
}

TEST_F(EditorWindowTest, AudioOnAnotherThreadStaysCleanDuringADrag) {
  plugin_->Show();
  std::atomic<bool> stop{false};
  std::atomic<bool> clean{true};
  TestThread audio([&] {
    std::vector<float> left(256), right(256);
    std::array<float*, 2> channels{left.data(), right.data()};
    for (int block = 0; !stop; ++block) {
      for (std::size_t i = 0; i < left.size(); ++i) left[i] = right[i] = std::sin(0.05f * (block * 256 + i)) * 0.5f;
      plugin_->PostWave(channels.data(), 48000, 2, 256);
      for (std::size_t i = 0; i < left.size(); ++i)
        if (!std::isfinite(left[i]) || !std::isfinite(right[i]) || std::fabs(left[i]) > 8 || std::fabs(right[i]) > 8)
          clean = false;
    }
  });
  const editor::TPoint centre = editor::KnobCentre(0);
  Mouse(WM_LBUTTONDOWN, centre.X, centre.Y);
  for (int i = 0; i < 100; ++i) Mouse(WM_MOUSEMOVE, centre.X - 40 + i, centre.Y - 30);
  Mouse(WM_LBUTTONUP, centre.X, centre.Y);
  stop = true;
  audio.join();
  EXPECT_TRUE(clean);
}

TEST(EditorWindowLifecycle, LoadShowDragDestroyUnloadCyclesLeaveNothingBehind) {
  constexpr int Warm = 20, Cycles = 100;
  ProcessFootprint warm;
  DWORD warmObjects = 0;
  for (int cycle = 0; cycle < Cycles; ++cycle) {
    {
      LoadedPlugin plugin;
      ASSERT_EQ(plugin.Error(), "") << cycle;
      plugin->Show();
      const HWND window = EditorWindowOfThisThread();
      ASSERT_NE(window, nullptr) << cycle;
      const editor::TPoint centre = editor::KnobCentre(19);
      SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.X, centre.Y));
      SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(centre.X, centre.Y - 30));
      SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(centre.X, centre.Y - 30));
      PumpFor(1ms);
    }
    ASSERT_EQ(EditorWindowOfThisThread(), nullptr) << "window left after unload, cycle " << cycle;
    if (cycle == Warm) {
      warm = MeasureFootprint();
      warmObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    }
  }
  const ProcessFootprint end = MeasureFootprint();
  const auto perCycle = [&](std::size_t before, std::size_t after) {
    return (static_cast<double>(after) - static_cast<double>(before)) / (Cycles - 1 - Warm);
  };
  EXPECT_LT(perCycle(warm.HeapBytes, end.HeapBytes), 64.0) << "heap bytes per cycle";
  EXPECT_LT(perCycle(warm.PrivateBytes, end.PrivateBytes), 1024.0) << "committed bytes per cycle";
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), warmObjects);
}

}  // namespace
}  // namespace lumra::testing
