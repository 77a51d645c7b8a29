// The real Vantorel.exe, started as its own process under Wine and driven from outside as a
// user would drive it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "../ui/controls.h"
#include "support/remote.h"

namespace vantorel {
namespace {

using testing_support::PressKey;
using testing_support::RemoteProgram;
using testing_support::TextOf;
using testing_support::WaitUntil;

const std::wstring kExampleAddress = L"http://" VANTOREL_VIDEO_HOST_W L"/22222071/Z0090UPN7fm.flv";

class Program : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.started()) << "Vantorel.exe did not show its window";
    program_.Activate();
  }

  // Clicks a button and returns the notice that comes up, left open.
  HWND ClickForNotice(int button) {
    PostMessageW(program_.Control(button), BM_CLICK, 0, 0);
    return program_.WaitForNotice();
  }

  // Clicks a button and returns the text of its notice, after dismissing it.
  std::wstring ClickAndDismiss(int button) {
    HWND notice = ClickForNotice(button);
    if (notice == nullptr) return L"<no notice>";
    std::wstring text = RemoteProgram::NoticeText(notice);
    EXPECT_TRUE(RemoteProgram::Dismiss(notice));
    return text;
  }

  RemoteProgram program_;
};

TEST_F(Program, StartsAtItsPlaceWithFixedFrameAndFocusInCodeBox) {
  RECT outer;
  GetWindowRect(program_.window(), &outer);
  EXPECT_EQ(outer.left, 50);
  EXPECT_EQ(outer.top, 50);
  EXPECT_EQ(outer.right, 430);
  EXPECT_EQ(outer.bottom, 303);

  const LONG_PTR style = GetWindowLongPtrW(program_.window(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE),
            WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_MINIMIZE | WS_MAXIMIZE),
            0);
  const LONG_PTR exStyle = GetWindowLongPtrW(program_.window(), GWL_EXSTYLE);
  EXPECT_EQ(exStyle & (WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST), 0);
  EXPECT_EQ(GetWindow(program_.window(), GW_OWNER), nullptr);

  EXPECT_EQ(program_.Focus(), program_.Control(编辑框1));
  DWORD start = 1, end = 1;
  SendMessageW(program_.Control(编辑框1), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);
}

TEST_F(Program, EscClosesWithExitCodeZero) {
  PressKey(VK_ESCAPE);
  EXPECT_EQ(program_.WaitForExit(), 0u);
}

TEST_F(Program, ShiftEscAndEnterDoNothing) {
  PressKey(VK_ESCAPE, {VK_SHIFT});
  PressKey(VK_RETURN);
  EXPECT_EQ(program_.WaitForExit(500), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(program_.WaitForNotice(300), nullptr) << "Enter ran a handler";
  EXPECT_EQ(TextOf(program_.Control(编辑框2)), L"");
  PressKey(VK_ESCAPE);
  EXPECT_EQ(program_.WaitForExit(), 0u);
}

TEST_F(Program, TabCyclesThroughBoxesAndButtons) {
  const int forward[] = {按钮1, 编辑框2, 按钮2, 按钮3, 编辑框1};
  for (int id : forward) {
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return program_.Focus() == program_.Control(id); }, 2000))
        << "Tab should reach control " << id;
  }
  PressKey(VK_TAB, {VK_SHIFT});
  EXPECT_TRUE(WaitUntil([&] { return program_.Focus() == program_.Control(按钮3); }, 2000));
}

TEST_F(Program, AnalyzeShowsAddressBehindNoticeThatBlocksWindow) {
  HWND notice = ClickForNotice(按钮1);
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(TextOf(notice), L"提示");
  EXPECT_EQ(RemoteProgram::NoticeText(notice), L"分析成功！");
  EXPECT_EQ(TextOf(program_.Control(编辑框2)), kExampleAddress);
  EXPECT_FALSE(IsWindowEnabled(program_.window())) << "the notice must keep the window from input";
  EXPECT_TRUE(RemoteProgram::Dismiss(notice));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program_.window()) != FALSE; }));
}

std::string ClipboardText() {
  std::string text = "<clipboard not readable>";
  WaitUntil([&] {
    if (!OpenClipboard(nullptr)) return false;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
      const auto* bytes = static_cast<const char*>(GlobalLock(data));
      text.assign(bytes, GlobalSize(data));
      GlobalUnlock(data);
    } else {
      text = "<no CF_TEXT>";
    }
    CloseClipboard();
    return true;
  });
  return text;
}

void PutOnClipboard(const char* text) {
  ASSERT_TRUE(WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
  memcpy(GlobalLock(block), text, strlen(text) + 1);
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
}

TEST_F(Program, CopyPutsTheAddressOnTheClipboard) {
  PutOnClipboard("before");
  EXPECT_EQ(ClickAndDismiss(按钮2), L"请先输入提取码并分析！");
  EXPECT_EQ(ClipboardText(), std::string("before") + '\0');

  EXPECT_EQ(ClickAndDismiss(按钮1), L"分析成功！");
  EXPECT_EQ(ClickAndDismiss(按钮2), L"地址已成功拷贝到剪辑板！");
  const std::string expected =
      std::string("http://") + VANTOREL_VIDEO_HOST + "/22222071/Z0090UPN7fm.flv";
  EXPECT_EQ(ClipboardText(), expected + '\0');
}

TEST_F(Program, CopyWhileAnotherProgramHoldsTheClipboardKeepsItsContent) {
  EXPECT_EQ(ClickAndDismiss(按钮1), L"分析成功！");
  PutOnClipboard("kept");
  // Held by a window: Wine lets two openers without a window share the clipboard.
  HWND holder =
      CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return OpenClipboard(holder) != FALSE; }));
  const std::wstring notice = ClickAndDismiss(按钮2);
  CloseClipboard();
  DestroyWindow(holder);
  EXPECT_EQ(notice, L"复制失败，请稍后再试！");
  EXPECT_EQ(ClipboardText(), std::string("kept") + '\0');
}

std::string OpenedUrls() {
  char state[MAX_PATH];
  if (GetEnvironmentVariableA("VANTOREL_WINE_STATE", state, MAX_PATH) == 0) return {};
  const std::string path = std::string("Z:") + state + "/opened-urls.txt";
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST_F(Program, HelpOpensTheHelpPageWithoutANotice) {
  const std::string expected = std::string("http://") + VANTOREL_HELP_HOST + "/?post=43\n";
  const std::size_t before = OpenedUrls().size();
  PostMessageW(program_.Control(按钮3), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return OpenedUrls().size() > before; }, 10000));
  EXPECT_EQ(OpenedUrls().substr(before), expected);
  EXPECT_EQ(program_.WaitForNotice(300), nullptr);
  EXPECT_EQ(TextOf(program_.Control(编辑框2)), L"");
}

// Under any ANSI code page, the window's texts read as the same Unicode text.
TEST_F(Program, TextsReadTheSameUnderEveryLocale) {
  struct Expected {
    int id;
    const wchar_t* text;
  };
  const Expected expected[] = {
      {按钮3, L"你说神马？不会用？看这里！"},
      {标签4, L"Vantorel"},
      {按钮2, L"复制"},
      {标签3, L"下载地址："},
      {按钮1, L"分析"},
      {编辑框1, L"Z0090UPN7fm"},
      {标签2, L"提取码："},
      {标签1, L"提取码如右图红框内所示"},
  };
  std::printf("ANSI code page of the test process: %u\n", GetACP());
  EXPECT_EQ(TextOf(program_.window()), L"Vantorel");
  for (const Expected& e : expected) {
    EXPECT_EQ(TextOf(program_.Control(e.id)), e.text) << "control " << e.id;
  }
  SendMessageW(program_.Control(编辑框1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  EXPECT_EQ(ClickAndDismiss(按钮1), L"请先输入提取码再分析！");
  SendMessageW(program_.Control(编辑框1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Z0090UPN7吴"));
  EXPECT_EQ(ClickAndDismiss(按钮1), L"分析成功！");
  EXPECT_EQ(TextOf(program_.Control(编辑框2)),
            L"http://" VANTOREL_VIDEO_HOST_W L"/22222071/Z0090UPN7吴.flv");
}

}  // namespace
}  // namespace vantorel
