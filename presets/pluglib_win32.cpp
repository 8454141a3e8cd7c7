#include "presets/pluglib_win32.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "presets/user_store.h"
#include "common/utf16_win32.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace lumra {
namespace {

constexpr int ClientWidth = 209;
constexpr int ClientHeight = 184;
constexpr int ListItemHeight = 12;
constexpr DWORD FormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD FormExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

struct ControlDefinition {
  int Id;
  const wchar_t* ClassName;
  const wchar_t* Caption;
  int Left, Top, Width, Height;
  DWORD Style;
  DWORD ExStyle;
};

// In tab order. The Store button notifies its loss of focus, which gives the default back to OK.
constexpr std::array<ControlDefinition, 6> Controls{{
    {Ed_StoreId, L"EDIT", L"", 8, 8, 113, 20, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {Bu_StoreId, L"BUTTON", L"Store", 128, 8, 75, 25, BS_PUSHBUTTON | BS_NOTIFY | WS_DISABLED, 0},
    {Li_RecallId, L"LISTBOX", nullptr, 8, 40, 113, 137,
     LBS_SORT | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE},
    {Bu_OKId, L"BUTTON", L"OK", 128, 40, 75, 25, BS_DEFPUSHBUTTON, 0},
    {Bu_CancelId, L"BUTTON", L"Cancel", 127, 72, 75, 25, BS_PUSHBUTTON, 0},
    {Bu_DeleteId, L"BUTTON", L"Delete", 127, 152, 75, 25, BS_PUSHBUTTON, 0},
}};

// A dialog template without controls: they are created in pixels once the dialog exists, since
// a template would place them in dialog units of its font.
std::vector<WORD> FormTemplate() {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* form = reinterpret_cast<DLGTEMPLATE*>(words.data());
  form->style = FormStyle;
  form->dwExtendedStyle = FormExStyle;
  words.push_back(0);  // no menu
  words.push_back(0);  // the standard dialog class
  for (const wchar_t* c = L"Library"; *c != L'\0'; ++c) words.push_back(static_cast<WORD>(*c));
  words.push_back(0);
  return words;
}

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// The Japanese proportional Gothic face, 12 pixels; the system's message font where it is
// not installed.
HFONT CreateFormFont() {
  LOGFONTW font{};
  font.lfHeight = -12;
  font.lfCharSet = SHIFTJIS_CHARSET;
  wcscpy_s(font.lfFaceName, L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF");
  bool found = false;
  if (HDC screen = ::GetDC(nullptr)) {
    ::EnumFontFamiliesExW(screen, &font, NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
  }
  if (!found) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
      return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    font = metrics.lfMessageFont;
  }
  return ::CreateFontIndirectW(&font);
}

struct FontDeleter {
  void operator()(HFONT font) const { ::DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

void ShowStoreError(HWND owner, const StoreError& error) {
  ::MessageBoxW(owner, Widen(error.what()).c_str(), L"Library", MB_OK | MB_ICONERROR);
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(),
                                                        static_cast<int>(text.size()))));
  return text;
}

std::wstring SelectedItem(HWND list) {
  const LRESULT index = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, index, 0)) + 1,
                    L'\0');
  const LRESULT length =
      ::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length == LB_ERR ? 0 : static_cast<std::size_t>(length));
  return text;
}

class TFo_PlugLib {
 public:
  TFo_PlugLib(std::unique_ptr<SettingsStore> presetKey, std::string_view sectionName,
              ApplyBlockFn applyBlock, FetchBlockFn fetchBlock)
      : presetKey_(std::move(presetKey)),
        model_(*presetKey_, sectionName, std::move(applyBlock), std::move(fetchBlock)) {}

  void ShowModal(int left, int top) {
    left_ = left;
    top_ = top;
    const std::vector<WORD> form = FormTemplate();
    ::DialogBoxIndirectParamW(reinterpret_cast<HINSTANCE>(&__ImageBase),
                              reinterpret_cast<const DLGTEMPLATE*>(form.data()), nullptr,
                              DialogProc, reinterpret_cast<LPARAM>(this));
  }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    auto* self = reinterpret_cast<TFo_PlugLib*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) return FALSE;
    if (message == WM_INITDIALOG) self->window_ = window;
    return self->HandleMessage(message, wParam, lParam);
  }

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
      case WM_INITDIALOG:
        CreateControls();
        PlaceForm();
        Run([this] { model_.FormShow(); });
        return TRUE;  // focus to the name box, which makes Store the default button
      case WM_COMMAND:
        Command(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
      case WM_CLOSE:
        Run([this] { model_.FormClose(); });
        return TRUE;
      default:
        return FALSE;
    }
  }

  void Command(int id, int code) {
    switch (id) {
      case Ed_StoreId:
        if (code == EN_SETFOCUS) Run([this] { model_.Ed_StoreEnter(); });
        if (code == EN_CHANGE)
          Run([this] { model_.Ed_StoreChange(Narrow(WindowText(Control(Ed_StoreId)))); });
        break;
      case Bu_StoreId:
        if (code == BN_CLICKED) Run([this] { model_.Bu_StoreClick(); });
        if (code == BN_KILLFOCUS) Run([this] { model_.Bu_StoreExit(); });
        break;
      case Li_RecallId:
        if (code == LBN_SELCHANGE)
          Run([this] { model_.Li_RecallClick(Narrow(SelectedItem(Control(Li_RecallId)))); });
        if (code == LBN_DBLCLK) Run([this] { model_.Li_RecallDblClick(); });
        break;
      case Bu_OKId:  // the button, or Enter while OK is the default
        if (code == BN_CLICKED) Run([this] { model_.Bu_OKClick(); });
        break;
      case Bu_CancelId:  // the button, or Escape anywhere in the dialog
        if (code == BN_CLICKED) Run([this] { model_.FormKeyDown(EscapeKey); });
        break;
      case Bu_DeleteId:
        if (code == BN_CLICKED) Run([this] { model_.Bu_DeleteClick(); });
        break;
      default:
        break;
    }
  }

  // A store error leaves the dialog open and the store as it was; the user is told.
  template <typename Handler>
  void Run(Handler handler) {
    try {
      handler();
    } catch (const StoreError& error) {
      ShowStoreError(window_, error);
    }
    ShowState();
  }

  HWND Control(int id) const { return ::GetDlgItem(window_, id); }

  void CreateControls() {
    font_.reset(CreateFormFont());
    for (const ControlDefinition& c : Controls) {
      HWND control = ::CreateWindowExW(
          c.ExStyle, c.ClassName, c.Caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | c.Style, c.Left,
          c.Top, c.Width, c.Height, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.Id)),
          reinterpret_cast<HINSTANCE>(&__ImageBase), nullptr);
      ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    ::SendMessageW(Control(Li_RecallId), LB_SETITEMHEIGHT, 0, ListItemHeight);
  }

  // The client area is fixed; the corner goes where the opener asked, moved onto the nearest
  // screen's work area if it would fall off it.
  void PlaceForm() {
    RECT frame{0, 0, ClientWidth, ClientHeight};
    ::AdjustWindowRectEx(&frame, FormStyle, FALSE, FormExStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    int left = left_;
    int top = top_;
    if (::GetMonitorInfoW(::MonitorFromPoint({left, top}, MONITOR_DEFAULTTONEAREST), &monitor)) {
      const RECT& area = monitor.rcWork;
      left = std::max<int>(area.left, std::min<int>(left, area.right - width));
      top = std::max<int>(area.top, std::min<int>(top, area.bottom - height));
    }
    ::SetWindowPos(window_, HWND_TOPMOST, left, top, width, height, SWP_NOACTIVATE);
  }

  void ShowState() {
    if (model_.Items() != shownItems_) {
      HWND list = Control(Li_RecallId);
      ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
      for (const std::string& name : model_.Items())
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
      shownItems_ = model_.Items();
    }
    if (!model_.Selected()) ::SendMessageW(Control(Li_RecallId), LB_SETCURSEL, -1, 0);
    ::EnableWindow(Control(Bu_StoreId), model_.StoreEnabled());
    ::EnableWindow(Control(Bu_DeleteId), model_.DeleteEnabled());
    const int defaultId = model_.DefaultButton() == DialogButton::Store ? Bu_StoreId : Bu_OKId;
    if (LOWORD(::SendMessageW(window_, DM_GETDEFID, 0, 0)) != defaultId)
      ::SendMessageW(window_, DM_SETDEFID, defaultId, 0);
    if (model_.Result() != ModalResult::None)
      ::EndDialog(window_, static_cast<INT_PTR>(model_.Result()));
  }

  std::unique_ptr<SettingsStore> presetKey_;  // PresetKey
  PlugLibModel model_;
  HWND window_ = nullptr;
  FontHandle font_;
  std::vector<std::string> shownItems_;
  int left_ = 0;
  int top_ = 0;
};

}  // namespace

void OpenPresetLibrary(std::string_view name, ApplyBlockFn applyBlock, FetchBlockFn fetchBlock,
                       int left, int top) {
  std::unique_ptr<SettingsStore> presetKey;
  try {
    presetKey = OpenUserStore(name);
  } catch (const StoreError& error) {
    ShowStoreError(nullptr, error);
    return;
  }
  TFo_PlugLib dialog(std::move(presetKey), name, std::move(applyBlock), std::move(fetchBlock));
  dialog.ShowModal(left, top);
}

}  // namespace lumra
