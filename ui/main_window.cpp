#include "main_window.h"

#include <utility>

#include "../platform/text.h"
#include "command_handlers.h"

namespace vantorel {
namespace {

constexpr wchar_t kWindowClass[] = L"VantorelMainWindow";
constexpr char kTitle[] = "Vantorel";

// The outer rectangle, frame and caption included, in screen coordinates.
constexpr int kLeft = 50;
constexpr int kTop = 50;
constexpr int kWidth = 380;
constexpr int kHeight = 253;

// A fixed dialog frame with a caption and a close button only.
constexpr DWORD kStyle = WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;

enum Modifiers : unsigned { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

unsigned HeldModifiers() {
  unsigned held = kNone;
  if (GetKeyState(VK_SHIFT) < 0) held |= kShift;
  if (GetKeyState(VK_CONTROL) < 0) held |= kCtrl;
  if (GetKeyState(VK_MENU) < 0) held |= kAlt;
  return held;
}

bool RegisterMainWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSW windowClass{};
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HICON LoadProgramIcon(HINSTANCE instance, int size) {
  return static_cast<HICON>(LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, size, size, 0));
}

bool TakesFocus(ControlKind kind) {
  return kind == ControlKind::EditBox || kind == ControlKind::PushButton;
}

}  // namespace

MainWindow::MainWindow(std::span<const ControlRecord> controls, DesktopServices& services)
    : controls_(controls), services_(services) {}

MainWindow::~MainWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool MainWindow::Create(HINSTANCE instance) {
  if (!RegisterMainWindowClass(instance, WindowProc) || !RegisterControlClasses(instance))
    return false;
  if (CreateWindowExW(0, kWindowClass, ToUtf16(kTitle).c_str(), kStyle, kLeft, kTop, kWidth,
                      kHeight, nullptr, nullptr, instance, this) == nullptr) {
    return false;
  }

  RECT outer;
  GetWindowRect(hwnd_, &outer);
  if (outer.right - outer.left != kWidth || outer.bottom - outer.top != kHeight) {
    MoveWindow(hwnd_, kLeft, kTop, kWidth, kHeight, TRUE);
  }

  bigIcon_.reset(LoadProgramIcon(instance, 32));
  smallIcon_.reset(LoadProgramIcon(instance, 16));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);

  if (!CreateControls()) {
    DestroyWindow(hwnd_);
    return false;
  }
  ShowWindow(hwnd_, SW_SHOW);
  return true;
}

bool MainWindow::CreateControls() {
  for (std::size_t i = controls_.size(); i-- > 0;) {
    if (CreateControl(hwnd_, controls_[i]) == nullptr) return false;
  }
  HWND above = HWND_TOP;
  for (const ControlRecord& record : controls_) {
    HWND control = GetDlgItem(hwnd_, record.id);
    SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    above = control;
  }
  for (const ControlRecord& record : controls_) {
    if (record.visible) ShowWindow(GetDlgItem(hwnd_, record.id), SW_SHOWNA);
  }
  return true;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return OnColorRequest(message, wParam, lParam);
    case WM_ACTIVATE: {
      const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) savedFocus_ = focus;
      }
      return result;
    }
    case WM_SETFOCUS:
      DefWindowProcW(hwnd_, message, wParam, lParam);
      OnSetFocus();
      return 0;
    case WM_NCACTIVATE:
      // Losing activation: the caption stays drawn active while the window is enabled, and
      // inactive while a notice has disabled it.
      if (wParam == FALSE) wParam = IsWindowEnabled(hwnd_);
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_CLOSE:
      DestroyWindow(hwnd_);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The session is ending: close as the close button would, so that the program still
      // ends its own way, with exit code 0.
      if (wParam != FALSE) DestroyWindow(hwnd_);
      return 0;
    case WM_NCDESTROY: {
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      hwnd_ = nullptr;
      savedFocus_ = nullptr;
      if (quitOnDestroy_) PostQuitMessage(0);
      return result;
    }
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void MainWindow::OnPaint() {
  PaintScope paint(hwnd_);
  RECT clip;
  if (GetClipBox(paint.dc(), &clip) == NULLREGION || IsRectEmpty(&clip)) return;
  Brush white(CreateSolidBrush(RGB(255, 255, 255)));
  FillRect(paint.dc(), &clip, white.get());
}

void MainWindow::OnCommand(int id, int notification) {
  if (notification != BN_CLICKED) return;
  for (const ClickBinding& binding : kClickBindings) {
    if (binding.controlId == id) {
      CommandHandlers handlers(hwnd_, services_);
      (handlers.*binding.handler)();
      return;
    }
  }
}

LRESULT MainWindow::OnColorRequest(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto child = reinterpret_cast<HWND>(lParam);
  if (child != nullptr && IsChild(hwnd_, child)) {
    if (const LRESULT brush = SendMessageW(child, kChildColorRequest, wParam, 0)) return brush;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void MainWindow::OnSetFocus() {
  HWND saved = std::exchange(savedFocus_, nullptr);
  if (saved != nullptr && IsChild(hwnd_, saved)) {
    SetFocus(saved);
    return;
  }
  if (HWND first = NextInFocusOrder(nullptr, true)) SetFocus(first);
}

const ControlRecord* MainWindow::RecordOf(HWND control) const {
  if (control == nullptr || GetParent(control) != hwnd_) return nullptr;
  const int id = GetDlgCtrlID(control);
  for (const ControlRecord& record : controls_) {
    if (record.id == id) return &record;
  }
  return nullptr;
}

bool MainWindow::CanTakeFocus(std::size_t index) const {
  const ControlRecord& record = controls_[index];
  HWND control = GetDlgItem(hwnd_, record.id);
  return control != nullptr && TakesFocus(record.kind) && IsWindowVisible(control) &&
         IsWindowEnabled(control) && (GetWindowLongPtrW(control, GWL_STYLE) & WS_TABSTOP) != 0;
}

// Tab visits smaller tab-order numbers first, and among equal numbers the control last in the
// list first.
bool MainWindow::VisitedBefore(std::size_t a, std::size_t b) const {
  const int orderA = controls_[a].tabOrder;
  const int orderB = controls_[b].tabOrder;
  return orderA < orderB || (orderA == orderB && a > b);
}

// The control Tab (or Shift+Tab) moves to from `from`, wrapping around at either end; from a
// control that Tab does not visit, or from nothing, it is the first (or last) one. Null when no
// control can take the focus.
HWND MainWindow::NextInFocusOrder(HWND from, bool forward) const {
  const ControlRecord* fromRecord = RecordOf(from);
  std::size_t at = controls_.size();
  if (fromRecord != nullptr) {
    at = static_cast<std::size_t>(fromRecord - controls_.data());
    if (!CanTakeFocus(at)) at = controls_.size();
  }
  const auto earlier = [&](std::size_t a, std::size_t b) {
    return forward ? VisitedBefore(a, b) : VisitedBefore(b, a);
  };
  std::size_t next = controls_.size();   // the nearest one after `at`
  std::size_t first = controls_.size();  // where to wrap to
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (!CanTakeFocus(i)) continue;
    if (first == controls_.size() || earlier(i, first)) first = i;
    if (at != controls_.size() && earlier(at, i) && (next == controls_.size() || earlier(i, next)))
      next = i;
  }
  if (next == controls_.size()) next = first;
  return next == controls_.size() ? nullptr : GetDlgItem(hwnd_, controls_[next].id);
}

void MainWindow::MoveFocus(bool forward) {
  HWND focus = GetFocus();
  if (focus == nullptr || !IsChild(hwnd_, focus)) return;
  HWND next = NextInFocusOrder(focus, forward);
  if (next != nullptr && next != focus) SetFocus(next);
}

bool MainWindow::PreTranslateMessage(const MSG& message) {
  if (hwnd_ == nullptr || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
  switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return OnKeyDown(message.wParam);
    case WM_LBUTTONDOWN:
      return OnLeftButtonDown(message.hwnd);
  }
  return false;
}

bool MainWindow::OnKeyDown(WPARAM key) {
  const unsigned held = HeldModifiers();
  if (key == VK_TAB && (held == kNone || held == kShift)) {
    MoveFocus(held == kNone);
    return true;
  }
  if (key == VK_ESCAPE && held == kNone) {
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    return true;
  }
  return false;
}

// A press on the window's background, a label or the picture moves the window as if its
// caption had been grabbed.
bool MainWindow::OnLeftButtonDown(HWND target) {
  if (target == hwnd_) {
    PostMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    return false;
  }
  const ControlRecord* record = RecordOf(target);
  if (record == nullptr || TakesFocus(record->kind)) return false;
  PostMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  return true;
}

int RunMessageLoop(MainWindow& window) {
  window.QuitOnDestroy();
  MSG message;
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return -1;
    if (window.PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace vantorel
