#include "editor/editor_window_win32.h"

#include <windows.h>
#include <windowsx.h>

#include <string>

#include "editor/decimal_separator.h"
#include "editor/editor_input.h"
#include "editor/face.h"
#include "editor/level_meter.h"
#include "editor/paint.h"
#include "editor/plugin_controls.h"
#include "gui/fdib_win32.h"
#include "gui/textwriter.h"
#include "plugin/instance.h"
#include "plugin/message_pump.h"
#include "presets/install_factory_presets.h"
#include "presets/pluglib_win32.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace lumra::editor {
namespace {

constexpr UINT_PTR MeterTimer = 1;
constexpr UINT MeterInterval = 50;  // ms
constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD WindowExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

HINSTANCE Module() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

class EditorWindow final : public plugin::EditorView, private EditorWindowActions {
 public:
  EditorWindow()
      : pictures_(BuildFace()),
        text_(WindowFont()),
        decimalSeparator_(UserDecimalSeparator()),
        input_(controls_, *this) {}

  ~EditorWindow() override {
    if (window_ == nullptr) return;
    KillTimer(window_, MeterTimer);
    if (GetCapture() == window_) ReleaseCapture();
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    UnregisterClassA(EditorWindowClass, Module());
    plugin::PumpPendingMessages();
  }

  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  bool Open() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = Module();
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = EditorWindowClass;
    // A class left registered by an earlier load that was freed without Destroy would point into
    // the old image: replace it.
    if (RegisterClassA(&windowClass) == 0) {
      UnregisterClassA(EditorWindowClass, Module());
      if (RegisterClassA(&windowClass) == 0) return false;
    }
    window_ = CreateWindowExA(WindowExStyle, EditorWindowClass, "", WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              FaceWidth, FaceHeight, nullptr, nullptr, Module(), this);
    if (window_ == nullptr) {
      UnregisterClassA(EditorWindowClass, Module());
      return false;
    }
    SetTimer(window_, MeterTimer, MeterInterval, nullptr);
    return true;
  }

  void Show() override {
    ShowWindow(window_, SW_SHOW);
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }

  void Hide() override { ShowWindow(window_, SW_HIDE); }

  void ParametersChanged() override { Paint(controls_.Current()); }

  void CaptionChanged() override {
    const std::string caption = "Lumra Reverb  " + plugin::TheInstance().CaptionText;
    SetWindowTextA(window_, caption.c_str());
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<EditorWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCCREATE) self->window_ = window;
    return self->Handle(message, wParam, lParam);
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const std::int32_t x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
      case WM_SHOWWINDOW:
        if (wParam) {
          FormShow();
        } else {
          plugin::TheInstance().MeterOn.store(false);
        }
        break;
      case WM_CLOSE:  // closing from the caption only hides
        Hide();
        return 0;
      case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) Hide();
        return 0;
      case WM_LBUTTONDOWN:
        input_.MouseDown(MouseButton::Left, x, y);
        return 0;
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        return 0;
      case WM_MOUSEMOVE:
        input_.MouseMove(x, y);
        return 0;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        input_.MouseUp();
        return 0;
      case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window_) input_.CaptureLost();
        return 0;
      case WM_TIMER:
        if (wParam == MeterTimer) MeterTick();
        return 0;
      case WM_ERASEBKGND:  // the face covers the whole client area
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        DrawToDC(backBuffer_, dc, 0, 0, {0, 0, backBuffer_.Width(), backBuffer_.Height()});
        EndPaint(window_, &paint);
        return 0;
      }
      default:
        break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
  }

  // Showing always restores the face's client size and the caption, and starts the meter.
  void FormShow() {
    RECT frame{0, 0, pictures_.Face.Width(), pictures_.Face.Height()};
    AdjustWindowRectEx(&frame, WindowStyle, FALSE, WindowExStyle);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CaptionChanged();
    plugin::TheInstance().MeterOn.store(true);
    Compose(controls_.Current());
    InvalidateRect(window_, nullptr, FALSE);
  }

  void Compose(const ParamBlock& block) {
    ComposePaint(pictures_, block, input_.State(), text_, decimalSeparator_, backBuffer_);
  }

  void Paint(const ParamBlock& block) override {
    if (!IsWindowVisible(window_)) return;
    Compose(block);
    HDC dc = GetDC(window_);
    DrawToDC(backBuffer_, dc, 0, 0, {0, 0, backBuffer_.Width(), backBuffer_.Height()});
    ReleaseDC(window_, dc);
  }

  void OpenLibrary() override {
    RECT frame{};
    GetWindowRect(window_, &frame);
    const plugin::Instance& in = plugin::TheInstance();
    OpenPresetLibrary(
        ProductLongName, [setData = in.SetDataEntry](void* data, std::int32_t size) { setData(data, size); },
        [getData = in.GetDataEntry](void** data, std::int32_t* size) { getData(data, size); }, frame.left,
        frame.top);
  }

  void CaptureMouse() override { SetCapture(window_); }

  void ReleaseMouse() override {
    if (GetCapture() == window_) ReleaseCapture();
  }

  // The meter goes on the window only, over the last composed face.
  void MeterTick() {
    const plugin::Instance& in = plugin::TheInstance();
    if (!in.MeterOn.load()) return;
    meter_.Tick(in.PeakLeft.load(std::memory_order_relaxed), in.PeakRight.load(std::memory_order_relaxed),
                in.ChannelCount.load(std::memory_order_relaxed));
    meter_.ComposeOver(backBuffer_, meterStrip_);
    HDC dc = GetDC(window_);
    DrawToDC(meterStrip_, dc, MeterArea.Left, MeterArea.Top, {0, 0, meterStrip_.Width(), meterStrip_.Height()});
    ReleaseDC(window_, dc);
  }

  HWND window_ = nullptr;
  FacePictures pictures_;
  TTextWriter text_;
  char decimalSeparator_;
  PluginControls controls_;
  EditorInput input_;
  TFDIB backBuffer_{FaceWidth, FaceHeight};
  LevelMeter meter_;
  TFDIB meterStrip_{LevelMeter::Width, LevelMeter::Height};
};

}  // namespace

std::unique_ptr<plugin::EditorView> CreateEditorWindow() {
  auto window = std::make_unique<EditorWindow>();
  if (!window->Open()) return nullptr;
  plugin::Instance& in = plugin::TheInstance();
  in.MeterOn.store(false);
  in.CaptionText.clear();
  InstallFactoryPresets();
  return window;
}

}  // namespace lumra::editor
