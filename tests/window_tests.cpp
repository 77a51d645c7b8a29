// The main window built inside the test process, driven with real input and messages. The
// button handlers reach the desktop through a recording stand-in, so no notice blocks a test;
// the real desktop services are tested at the end of this file.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "../platform/desktop_services.h"
#include "../platform/text.h"
#include "../ui/control_kinds.h"
#include "../ui/main_window.h"
#include "hosts.h"
#include "support/cp936_reference.h"
#include "support/remote.h"

namespace vantorel {
namespace {

using testing_support::Cp936;
using testing_support::PressKey;
using testing_support::TextOf;
using testing_support::WaitUntil;

class RecordingServices final : public DesktopServices {
 public:
  void ShowInfoMessage(std::string_view text) override { notices.emplace_back(text); }
  bool SetClipboardText(std::string_view text) override {
    clipboard.emplace_back(text);
    return clipboardWorks;
  }
  void OpenUrl(std::string_view address) override { urls.emplace_back(address); }

  std::vector<std::string> notices;
  std::vector<std::string> clipboard;
  std::vector<std::string> urls;
  bool clipboardWorks = true;
};

// Runs the window's own message handling, as the program's loop does, for a moment.
void Pump(MainWindow& window, DWORD ms = 100) {
  const ULONGLONG end = GetTickCount64() + ms;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT || window.PreTranslateMessage(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  } while (GetTickCount64() < end);
}

// --- The window on controls of the test's own ------------------------------------------------

constexpr int kEditA = 1, kEditB = 2, kButtonA = 3, kButtonB = 4, kLabel = 5, kDisabledButton = 6,
              kHiddenEdit = 7, kNoTabStopButton = 8, kPicture = 9;
const ControlRecord kTestControls[] = {
    {.id = kButtonA, .kind = ControlKind::PushButton, .rect = {10, 10, 90, 34}, .tabStop = true},
    {.id = kLabel, .kind = ControlKind::Label, .rect = {10, 40, 90, 60}, .text = "label"},
    {.id = kDisabledButton,
     .kind = ControlKind::PushButton,
     .rect = {100, 10, 180, 34},
     .disabled = true,
     .tabStop = true},
    {.id = kEditA, .kind = ControlKind::EditBox, .rect = {10, 70, 180, 94}, .tabStop = true},
    {.id = kHiddenEdit,
     .kind = ControlKind::EditBox,
     .rect = {10, 100, 180, 124},
     .visible = false,
     .tabStop = true},
    {.id = kNoTabStopButton, .kind = ControlKind::PushButton, .rect = {200, 10, 280, 34}},
    {.id = kButtonB,
     .kind = ControlKind::PushButton,
     .rect = {200, 40, 280, 64},
     .tabStop = true,
     .tabOrder = -1},
    {.id = kEditB, .kind = ControlKind::EditBox, .rect = {10, 130, 180, 154}, .tabStop = true},
    {.id = kPicture, .kind = ControlKind::PictureBox, .rect = {200, 130, 280, 154}},
};

class TestWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window_.Create(GetModuleHandleW(nullptr)));
    SetForegroundWindow(window_.hwnd());
    Pump(window_);
  }
  HWND Control(int id) const { return GetDlgItem(window_.hwnd(), id); }

  RecordingServices services_;
  MainWindow window_{kTestControls, services_};
};

TEST_F(TestWindow, OuterRectangleClassAndStyles) {
  RECT outer;
  GetWindowRect(window_.hwnd(), &outer);
  EXPECT_EQ(outer.left, 50);
  EXPECT_EQ(outer.top, 50);
  EXPECT_EQ(outer.right - outer.left, 380);
  EXPECT_EQ(outer.bottom - outer.top, 253);
  EXPECT_EQ(GetClassLongPtrW(window_.hwnd(), GCL_STYLE), CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS);
  EXPECT_EQ(GetClassLongPtrW(window_.hwnd(), GCLP_HBRBACKGROUND),
            reinterpret_cast<LONG_PTR>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(SendMessageW(window_.hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
}

TEST_F(TestWindow, FocusGoesFirstToSmallestTabOrderThenLastInList) {
  EXPECT_EQ(GetFocus(), Control(kButtonB));
}

TEST_F(TestWindow, TabAndShiftTabSkipLabelsAndDisabledHiddenAndNonTabStopControls) {
  const int cycle[] = {kButtonB, kEditB, kEditA, kButtonA};
  for (std::size_t i = 0; i < std::size(cycle); ++i) {
    SetFocus(Control(cycle[i]));
    PressKey(VK_TAB);
    Pump(window_);
    EXPECT_EQ(GetFocus(), Control(cycle[(i + 1) % std::size(cycle)])) << "Tab from " << cycle[i];
    SetFocus(Control(cycle[i]));
    PressKey(VK_TAB, {VK_SHIFT});
    Pump(window_);
    EXPECT_EQ(GetFocus(), Control(cycle[(i + std::size(cycle) - 1) % std::size(cycle)]))
        << "Shift+Tab from " << cycle[i];
  }
}

TEST_F(TestWindow, CtrlTabAndEnterLeaveFocusAlone) {
  SetFocus(Control(kEditA));
  PressKey(VK_TAB, {VK_CONTROL});
  PressKey(VK_RETURN);
  Pump(window_);
  EXPECT_EQ(GetFocus(), Control(kEditA));
  EXPECT_TRUE(IsWindow(window_.hwnd()));
}

TEST_F(TestWindow, EscClosesButShiftEscDoesNot) {
  SetFocus(Control(kEditA));
  PressKey(VK_ESCAPE, {VK_SHIFT});
  Pump(window_);
  ASSERT_NE(window_.hwnd(), nullptr);
  PressKey(VK_ESCAPE);
  Pump(window_);
  EXPECT_EQ(window_.hwnd(), nullptr);
}

TEST_F(TestWindow, FocusComesBackToTheControlThatHadIt) {
  SetFocus(Control(kEditB));
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 400,
                               200, 100, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  Pump(window_);
  ASSERT_NE(GetForegroundWindow(), window_.hwnd());
  SetForegroundWindow(window_.hwnd());
  Pump(window_);
  EXPECT_EQ(GetFocus(), Control(kEditB));
  DestroyWindow(other);
}

// Which presses start moving the window, and which still reach the control.
TEST_F(TestWindow, PressOnBackgroundLabelOrPictureDragsTheWindow) {
  struct Case {
    HWND target;
    bool dragged;
    bool usedUp;
  };
  const Case cases[] = {
      {window_.hwnd(), true, false},    {Control(kLabel), true, true},
      {Control(kPicture), true, true},  {Control(kEditA), false, false},
      {Control(kButtonA), false, false},
  };
  for (const Case& c : cases) {
    MSG press{c.target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2), 0, {}};
    EXPECT_EQ(window_.PreTranslateMessage(press), c.usedUp);
    MSG posted;
    const bool drag = PeekMessageW(&posted, window_.hwnd(), WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN,
                                   PM_REMOVE) != FALSE;
    EXPECT_EQ(drag, c.dragged);
    if (drag) {
      EXPECT_EQ(posted.wParam, static_cast<WPARAM>(HTCAPTION));
    }
  }
}

COLORREF ScreenPixel(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  HDC screen = GetDC(nullptr);
  const COLORREF color = GetPixel(screen, point.x, point.y);
  ReleaseDC(nullptr, screen);
  return color;
}

TEST_F(TestWindow, BackgroundIsWhiteAndCaptionStaysActiveWhileEnabled) {
  RedrawWindow(window_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_EQ(ScreenPixel(window_.hwnd(), 300, 180), RGB(255, 255, 255));

  // A point in the caption, left of the buttons and right of the title.
  const int captionY = -GetSystemMetrics(SM_CYCAPTION) / 2;
  const COLORREF active = ScreenPixel(window_.hwnd(), 300, captionY);
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 400,
                               200, 100, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  Pump(window_, 200);
  EXPECT_EQ(ScreenPixel(window_.hwnd(), 300, captionY), active);

  EnableWindow(window_.hwnd(), FALSE);
  SendMessageW(window_.hwnd(), WM_NCACTIVATE, FALSE, 0);
  Pump(window_, 200);
  EXPECT_NE(ScreenPixel(window_.hwnd(), 300, captionY), active);
  EnableWindow(window_.hwnd(), TRUE);
  DestroyWindow(other);
}

}  // namespace
}  // namespace vantorel
