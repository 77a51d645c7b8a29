// The main window built inside the test process, driven with real input and messages. The
// button handlers reach the desktop through a recording stand-in, so no notice blocks a test;
// the real desktop services are tested at the end of this file.
#include <gtest/gtest.h>

#include <cstdlib>
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
  void ShowErrorMessage(std::string_view text) override { errors.emplace_back(text); }
  bool SetClipboardText(std::string_view text) override {
    clipboard.emplace_back(text);
    return clipboardWorks;
  }
  void OpenUrl(std::string_view address) override { urls.emplace_back(address); }

  std::vector<std::string> notices;
  std::vector<std::string> errors;
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

// A window on the given controls, created, in front and with its first messages handled.
class WindowTest : public testing::Test {
 protected:
  explicit WindowTest(std::span<const ControlRecord> controls) : window_(controls, services_) {}
  void SetUp() override {
    ASSERT_TRUE(window_.Create(GetModuleHandleW(nullptr)));
    SetForegroundWindow(window_.hwnd());
    Pump(window_);
  }
  HWND Control(int id) const { return GetDlgItem(window_.hwnd(), id); }

  RecordingServices services_;
  MainWindow window_;
};

class TestWindow : public WindowTest {
 protected:
  TestWindow() : WindowTest(kTestControls) {}
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
      {window_.hwnd(), true, false},     {Control(kLabel), true, true},
      {Control(kPicture), true, true},   {Control(kEditA), false, false},
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

// --- The real window -------------------------------------------------------------------------

namespace real_window {

class Vantorel : public WindowTest {
 protected:
  Vantorel() : WindowTest(kMainWindowControls) {}
  void Click(int id) {
    SendMessageW(Control(id), BM_CLICK, 0, 0);
    Pump(window_, 20);
  }
  std::string LastNotice() const {
    return services_.notices.empty() ? "<none>" : services_.notices.back();
  }
};

struct ExpectedControl {
  int id;
  const wchar_t* className;
  RECT rect;
  const wchar_t* text;
};

// Top of the stacking order first.
const ExpectedControl kLayout[] = {
    {按钮3, L"Button", {40, 184, 344, 216}, L"你说神马？不会用？看这里！"},
    {标签4, kLabelClass, {0, 0, 376, 72}, L"Vantorel"},
    {按钮2, L"Button", {285, 154, 365, 178}, L"复制"},
    {编辑框2, L"Edit", {76, 155, 274, 179}, L""},
    {标签3, kLabelClass, {13, 153, 77, 179}, L"下载地址："},
    {按钮1, L"Button", {285, 118, 365, 142}, L"分析"},
    {编辑框1, L"Edit", {76, 119, 274, 143}, L"Z0090UPN7fm"},
    {标签2, kLabelClass, {13, 117, 69, 143}, L"提取码："},
    {标签1, kLabelClass, {13, 81, 173, 107}, L"提取码如右图红框内所示"},
    {图片框1, kPictureBoxClass, {173, 81, 349, 107}, L""},
};

TEST_F(Vantorel, TenControlsInTheirPlacesAndStackingOrder) {
  HWND child = GetWindow(window_.hwnd(), GW_CHILD);
  for (const ExpectedControl& e : kLayout) {
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetDlgCtrlID(child), e.id) << "stacking order";
    HWND control = Control(e.id);
    wchar_t className[64];
    GetClassNameW(control, className, 64);
    EXPECT_EQ(lstrcmpiW(className, e.className), 0) << e.id;
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window_.hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_TRUE(EqualRect(&rect, &e.rect)) << "control " << e.id << " at " << rect.left << ","
                                           << rect.top << "-" << rect.right << "," << rect.bottom;
    EXPECT_EQ(TextOf(control), e.text) << e.id;
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE),
              WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE);
    const bool focusable =
        lstrcmpiW(className, L"Button") == 0 || lstrcmpiW(className, L"Edit") == 0;
    EXPECT_EQ((style & WS_TABSTOP) != 0, focusable) << e.id;
    if (lstrcmpiW(className, L"Button") == 0) {
      EXPECT_EQ(style & 0x0F, BS_PUSHBUTTON) << "no default push button";
      EXPECT_EQ(style & BS_MULTILINE, BS_MULTILINE);
    }
    if (lstrcmpiW(className, L"Edit") == 0) {
      EXPECT_EQ((style & ES_READONLY) != 0, e.id == 编辑框2);
      EXPECT_NE(GetWindowLongPtrW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    }
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "more than ten controls";
}

TEST_F(Vantorel, TabCycleOfTheRealWindow) {
  EXPECT_EQ(GetFocus(), Control(编辑框1));
  for (int id : {按钮1, 编辑框2, 按钮2, 按钮3, 编辑框1}) {
    PressKey(VK_TAB);
    Pump(window_);
    EXPECT_EQ(GetFocus(), Control(id));
  }
  PressKey(VK_TAB, {VK_SHIFT});
  Pump(window_);
  EXPECT_EQ(GetFocus(), Control(按钮3));
}

std::string Address(const std::string& code) {
  return std::string("http://") + VideoHost + "/22222071/" + code + ".flv";
}

TEST_F(Vantorel, AnalyzeRefusalsLeaveTheAddressBoxAsItWas) {
  struct Case {
    const wchar_t* code;
    const char* noticeUtf8;
    const char* addressUtf8;  // what the address box then shows
  };
  const std::string good = Address("Z0090UPN7fm");
  const std::string chinese = Address(Cp936("Z0090UPN7吴"));
  const Case cases[] = {
      {L"", "请先输入提取码再分析！", ""},
      {L"Z0090UPN7f", "请正确输入提取码再分析！", ""},
      {L"Z0090UPN7fm", "分析成功！", good.c_str()},
      {L"Z0090UPN7fmX", "请正确输入提取码再分析！", good.c_str()},
      {L" Z0090UPN7fm", "请正确输入提取码再分析！", good.c_str()},
      {L"Z0090UPN7f吴", "请正确输入提取码再分析！", good.c_str()},
      {L"Z0090UPN7吴", "分析成功！", nullptr},
      {L"Z0090UPN7\U0001F600", "请正确输入提取码再分析！", nullptr},
      {L"Z0090UPN7\u00E9\u00E9", "请正确输入提取码再分析！", nullptr},
  };
  for (const Case& c : cases) {
    SetWindowTextW(Control(编辑框1), c.code);
    services_.notices.clear();
    Click(按钮1);
    ASSERT_EQ(services_.notices.size(), 1u);
    EXPECT_EQ(LastNotice(), Cp936(c.noticeUtf8));
    const std::string expected = c.addressUtf8 != nullptr ? c.addressUtf8 : chinese;
    EXPECT_EQ(ReadWindowText(Control(编辑框2)).text.view(), expected);
  }
  EXPECT_TRUE(services_.clipboard.empty());
  EXPECT_TRUE(services_.urls.empty());
}

TEST_F(Vantorel, CopyAndHelp) {
  Click(按钮2);
  EXPECT_EQ(LastNotice(), Cp936("请先输入提取码并分析！"));
  EXPECT_TRUE(services_.clipboard.empty());

  Click(按钮1);
  Click(按钮2);
  EXPECT_EQ(LastNotice(), Cp936("地址已成功拷贝到剪辑板！"));
  ASSERT_EQ(services_.clipboard.size(), 1u);
  EXPECT_EQ(services_.clipboard.back(), Address("Z0090UPN7fm"));

  services_.clipboardWorks = false;
  Click(按钮2);
  EXPECT_EQ(LastNotice(), Cp936("复制失败，请稍后再试！"));

  const std::size_t notices = services_.notices.size();
  Click(按钮3);
  ASSERT_EQ(services_.urls.size(), 1u);
  EXPECT_EQ(services_.urls.back(), std::string("http://") + HelpPageHost + "/?post=43");
  EXPECT_EQ(services_.notices.size(), notices) << "help shows no notice";
}

COLORREF Pixel(HWND window, int x, int y) {
  return ScreenPixel(window, x, y);
}

TEST_F(Vantorel, BannerGradientRowsAlsoAfterAPartialRepaint) {
  struct Row {
    int y;
    COLORREF color;
  };
  const Row rows[] = {{0, RGB(0, 136, 255)},    {1, RGB(7, 139, 255)},    {18, RGB(127, 195, 255)},
                      {35, RGB(247, 251, 255)}, {36, RGB(255, 255, 255)}, {71, RGB(255, 255, 255)}};
  HWND banner = Control(标签4);
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) {
      RECT corner{0, 10, 10, 40};
      InvalidateRect(banner, &corner, FALSE);
      UpdateWindow(banner);
    }
    for (const Row& row : rows) {
      for (int x : {3, 9, 370}) {
        EXPECT_EQ(Pixel(banner, x, row.y), row.color) << "row " << row.y << " x " << x;
      }
    }
  }
}

TEST_F(Vantorel, EditBoxesWhiteWithBandsAndPictureFrame) {
  for (int id : {编辑框1, 编辑框2}) {
    HWND box = Control(id);
    RECT client;
    GetClientRect(box, &client);
    POINT origin{0, 0};
    ClientToScreen(box, &origin);
    RECT outer;
    GetWindowRect(box, &outer);
    const int edge = GetSystemMetrics(SM_CYEDGE);
    const int above = origin.y - outer.top - edge;
    const int below = outer.bottom - (origin.y + client.bottom) - edge;
    // The text line is centred: bands of at least a pixel above and below, equal to within one.
    EXPECT_GE(above, 1) << id;
    EXPECT_LE(std::abs(above - below), 1) << id;
    EXPECT_EQ(Pixel(box, client.right - 2, -1), RGB(255, 255, 255)) << id;
    EXPECT_EQ(Pixel(box, client.right - 2, client.bottom), RGB(255, 255, 255)) << id;
    EXPECT_EQ(Pixel(box, client.right - 2, client.bottom / 2), RGB(255, 255, 255)) << id;
  }
  HWND picture = Control(图片框1);
  EXPECT_EQ(Pixel(picture, 73, 0), RGB(237, 28, 36));
  EXPECT_EQ(Pixel(picture, 163, 25), RGB(237, 28, 36));
  EXPECT_EQ(Pixel(picture, 120, 2), RGB(237, 28, 36));
  EXPECT_EQ(Pixel(picture, 79, 6), RGB(255, 255, 255));
  EXPECT_EQ(Pixel(picture, 2, 4), RGB(255, 255, 255));
}

}  // namespace real_window

// --- The real desktop services -----------------------------------------------------------------

std::string ReadClipboard() {
  std::string text = "<unreadable>";
  WaitUntil([&] {
    if (!OpenClipboard(nullptr)) return false;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      text.assign(static_cast<const char*>(GlobalLock(data)), GlobalSize(data));
      GlobalUnlock(data);
    }
    CloseClipboard();
    return true;
  });
  return text;
}

TEST(RealDesktopServices, ClipboardGetsTheBytesAndOneNul) {
  WindowsDesktopServices services;
  const std::string text = "http://x/" + Cp936("吴") + ".flv";
  ASSERT_TRUE(services.SetClipboardText(text));
  EXPECT_EQ(ReadClipboard(), text + '\0');
  ASSERT_TRUE(services.SetClipboardText(""));
  EXPECT_EQ(ReadClipboard(), std::string(1, '\0'));
}

TEST(RealDesktopServices, ClipboardHeldByAnotherThreadKeepsItsContent) {
  WindowsDesktopServices services;
  ASSERT_TRUE(services.SetClipboardText("kept"));
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    HWND owner =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    WaitUntil([&] { return OpenClipboard(owner) != FALSE; });
    SetEvent(opened);
    WaitForSingleObject(release, 10000);
    CloseClipboard();
    DestroyWindow(owner);
  });
  WaitForSingleObject(opened, 10000);
  EXPECT_FALSE(services.SetClipboardText("lost"));
  SetEvent(release);
  holder.join();
  EXPECT_EQ(ReadClipboard(), std::string("kept") + '\0');
  CloseHandle(opened);
  CloseHandle(release);
}

TEST(RealDesktopServices, NoticeIsTitledAndDismissedWithOk) {
  std::wstring seenText;
  std::thread user([&] {
    HWND notice = nullptr;
    WaitUntil([&] { return (notice = FindWindowW(L"#32770", L"提示")) != nullptr; });
    if (notice == nullptr) return;
    seenText = testing_support::RemoteProgram::NoticeText(notice);
    PostMessageW(GetDlgItem(notice, IDOK), BM_CLICK, 0, 0);
  });
  WindowsDesktopServices().ShowInfoMessage(Cp936("分析成功！"));
  user.join();
  EXPECT_EQ(seenText, L"分析成功！");
}

}  // namespace
}  // namespace vantorel
