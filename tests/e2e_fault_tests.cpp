// The real Vantorel.exe under hostile input, driven from outside: a huge paste, characters its
// code page cannot hold, a long random run of keys, clicks and pastes, and every way of closing
// it. Each test ends with the program alive and answering, or exited with code 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>
#include <string>

#include "../ui/controls.h"
#include "support/case_name.h"
#include "support/remote.h"

namespace vantorel {
namespace {

using testing_support::Answers;
using testing_support::ClickAt;
using testing_support::ClickAtScreen;
using testing_support::PressKey;
using testing_support::RemoteProgram;
using testing_support::TextOf;
using testing_support::TypeText;
using testing_support::WaitUntil;

const std::wstring kAddressHead = L"http://" VANTOREL_VIDEO_HOST_W L"/22222071/";

std::wstring AddressOf(const std::wstring& code) {
  return kAddressHead + code + L".flv";
}

void PutUnicodeOnClipboard(const std::wstring& text) {
  ASSERT_TRUE(WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }));
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  memcpy(GlobalLock(block), text.c_str(), bytes);
  GlobalUnlock(block);
  SetClipboardData(CF_UNICODETEXT, block);
  CloseClipboard();
}

LRESULT TextLength(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
  return static_cast<LRESULT>(length);
}

class Hostile : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.started()) << "Vantorel.exe did not show its window";
    program_.Activate();
  }

  HWND CodeBox() const { return program_.Control(编辑框1); }
  HWND AddressBox() const { return program_.Control(编辑框2); }

  void ReplaceCode(const std::wstring& text) {
    program_.Activate();
    RECT box;
    GetClientRect(CodeBox(), &box);
    // Apart from the last click by more than the double-click time: the second click of a
    // double click does not move the focus.
    Sleep(GetDoubleClickTime() + 50);
    ClickAt(CodeBox(), {box.right / 2, box.bottom / 2});
    ASSERT_TRUE(WaitUntil([&] { return program_.Focus() == CodeBox(); }, 2000));
    SendMessageW(CodeBox(), EM_SETSEL, 0, -1);
    PressKey(VK_DELETE);
    TypeText(text);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(CodeBox()) == text; }, 2000))
        << "the code box shows " << testing::PrintToString(TextOf(CodeBox()));
  }

  // Clicks Analyze; the text of its notice, which is dismissed.
  std::wstring Analyze(DWORD timeoutMs = 5000) {
    PostMessageW(program_.Control(按钮1), BM_CLICK, 0, 0);
    HWND notice = program_.WaitForNotice(timeoutMs);
    if (notice == nullptr) return L"<no notice>";
    const std::wstring text = RemoteProgram::NoticeText(notice);
    EXPECT_TRUE(RemoteProgram::Dismiss(notice));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program_.window()) != FALSE; }));
    return text;
  }

  // The end of every test that leaves the program running: it answers, and Esc closes it.
  void ExpectAliveThenEscExitsWithZero() {
    EXPECT_TRUE(Answers(program_.window())) << "the program stopped answering";
    program_.Activate();
    PressKey(VK_ESCAPE);
    EXPECT_EQ(program_.WaitForExit(), 0u);
  }

  RemoteProgram program_;
};

TEST_F(Hostile, OneMebibytePasteIsRefusedPromptly) {
  std::wstring huge(1 << 20, L'\0');
  for (std::size_t i = 0; i < huge.size(); ++i) huge[i] = static_cast<wchar_t>(L'A' + i % 26);
  PutUnicodeOnClipboard(huge);

  SendMessageW(CodeBox(), EM_SETSEL, 0, -1);
  PressKey('V', {VK_CONTROL});
  ASSERT_TRUE(WaitUntil([&] { return TextLength(CodeBox()) == (1 << 20); }, 20000))
      << "the code box holds " << TextLength(CodeBox()) << " characters";

  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(Analyze(), L"请正确输入提取码再分析！");
  const ULONGLONG elapsed = GetTickCount64() - start;
  std::printf("Analyze of 1 MiB answered in %llu ms\n", elapsed);
  EXPECT_LT(elapsed, 3000u);
  EXPECT_EQ(TextOf(AddressBox()), L"");
  EXPECT_EQ(TextLength(CodeBox()), 1 << 20) << "the user's text must stay as it was";
  ExpectAliveThenEscExitsWithZero();
}

// A character without a code page 936 form makes the whole code wrong: the program never builds
// an address from what is left after dropping it. Characters the code page has are kept.
TEST_F(Hostile, CharactersOutsideTheCodePageAreRefusedNeverDropped) {
  ASSERT_EQ(Analyze(), L"分析成功！");
  const std::wstring earlier = AddressOf(L"Z0090UPN7fm");
  ASSERT_EQ(TextOf(AddressBox()), earlier);

  struct Case {
    const wchar_t* typed;
    const wchar_t* notice;
    std::wstring addressAfter;
  };
  const Case cases[] = {
      {L"Z0090UPN7f\U0001F600", L"请正确输入提取码再分析！", earlier},     // 10 + emoji
      {L"Z0090UPN7fm\U0001F600", L"请正确输入提取码再分析！", earlier},    // 11 + emoji
      {L"Z0090UPN7\u0E01\u0E02", L"请正确输入提取码再分析！", earlier},    // Thai: not in GBK
      {L"\U0001F600\U0001F600", L"请正确输入提取码再分析！", earlier},     // nothing left
      {L"Z0090UPN7\u00E9", L"分析成功！", AddressOf(L"Z0090UPN7\u00E9")},  // é is in GBK
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.typed)));
    ReplaceCode(c.typed);
    EXPECT_EQ(Analyze(), c.notice);
    EXPECT_EQ(TextOf(AddressBox()), c.addressAfter);
    EXPECT_EQ(TextOf(CodeBox()), c.typed) << "the typed text must stay as typed";
  }
  ExpectAliveThenEscExitsWithZero();
}

// The middle of the caption's close button, in screen coordinates; (-1, -1) if there is none.
POINT CloseButtonPoint(HWND window) {
  RECT outer;
  GetWindowRect(window, &outer);
  RECT button{outer.right, outer.bottom, outer.left, outer.top};  // empty until a hit
  for (LONG y = outer.top; y < outer.top + 40; ++y) {
    for (LONG x = outer.right - 1; x > outer.right - 80; --x) {
      DWORD_PTR hit = HTNOWHERE;
      SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 1000, &hit);
      if (hit != HTCLOSE) continue;
      button = {std::min(button.left, x), std::min(button.top, y), std::max(button.right, x),
                std::max(button.bottom, y)};
    }
  }
  if (button.left > button.right) return {-1, -1};
  return {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
}

struct CloseRoute {
  const char* name;
  void (*close)(const RemoteProgram& program);
};

const CloseRoute kCloseRoutes[] = {
    {"close button",
     [](const RemoteProgram& program) {
       const POINT point = CloseButtonPoint(program.window());
       ASSERT_GE(point.x, 0) << "no close button found";
       ClickAtScreen(point);
     }},
    {"Alt+F4", [](const RemoteProgram&) { PressKey(VK_F4, {VK_MENU}); }},
    {"system menu Close",
     [](const RemoteProgram&) {
       PressKey(VK_SPACE, {VK_MENU});
       ASSERT_TRUE(WaitUntil(
           [] {
             HWND menu = FindWindowW(L"#32768", nullptr);
             return menu != nullptr && IsWindowVisible(menu);
           },
           3000))
           << "the system menu did not open";
       PressKey('C');  // Close, "关闭(C)" in Chinese
     }},
    {"Esc", [](const RemoteProgram&) { PressKey(VK_ESCAPE); }},
    {"session end",
     [](const RemoteProgram& program) {
       DWORD_PTR agreed = FALSE;
       SendMessageTimeoutW(program.window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                           SMTO_ABORTIFHUNG, 2000, &agreed);
       EXPECT_EQ(agreed, static_cast<DWORD_PTR>(TRUE));
       SendMessageTimeoutW(program.window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                           SMTO_ABORTIFHUNG, 2000, nullptr);
     }},
};

class ClosedBy : public testing::TestWithParam<CloseRoute> {};

TEST_P(ClosedBy, ExitsWithZero) {
  RemoteProgram program;
  ASSERT_TRUE(program.started());
  program.Activate();
  ASSERT_TRUE(program.WaitIdle());
  GetParam().close(program);
  EXPECT_EQ(program.WaitForExit(), 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryRoute, ClosedBy, testing::ValuesIn(kCloseRoutes),
                         testing_support::CaseName());

// --- The monkey ------------------------------------------------------------------------------

bool IsElevenBytes(const std::wstring& code) {
  BOOL lossy = FALSE;
  const int bytes = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, code.c_str(),
                                        static_cast<int>(code.size()), nullptr, 0, nullptr, &lossy);
  return bytes == 11 && !lossy;
}

// Thousands of random keys, clicks and pastes anywhere in the window, with notices dismissed as
// they come. The address box may only ever be empty or show the address of a code the code box
// held before. The seed and count can be changed through VANTOREL_MONKEY_SEED and
// VANTOREL_MONKEY_EVENTS.
TEST_F(Hostile, MonkeyRunKeepsTheBoxesConsistent) {
  const auto setting = [](const char* name, unsigned fallback) {
    char value[32];
    return GetEnvironmentVariableA(name, value, sizeof value) > 0
               ? static_cast<unsigned>(std::strtoul(value, nullptr, 10))
               : fallback;
  };
  const unsigned seed = setting("VANTOREL_MONKEY_SEED", 20261211);
  const unsigned events = setting("VANTOREL_MONKEY_EVENTS", 2000);
  std::mt19937 random(seed);
  const auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };

  struct Key {
    WORD key;
    std::initializer_list<WORD> modifiers;
  };
  const Key keys[] = {
      {'A', {}},
      {'Z', {}},
      {'0', {}},
      {'7', {}},
      {'F', {VK_SHIFT}},
      {VK_TAB, {}},
      {VK_TAB, {VK_SHIFT}},
      {VK_RETURN, {}},
      {VK_SPACE, {}},
      {VK_BACK, {}},
      {VK_DELETE, {}},
      {VK_LEFT, {}},
      {VK_RIGHT, {}},
      {VK_HOME, {}},
      {VK_END, {VK_SHIFT}},
      {'A', {VK_CONTROL}},
      {'C', {VK_CONTROL}},
      {'X', {VK_CONTROL}},
      {'V', {VK_CONTROL}},
      {'Z', {VK_CONTROL}},
  };
  const wchar_t* const pieces[] = {L"Z0090UPN7fm",    L"Z0090UPN7", L"fm", L"吴",      L"提取码",
                                   L"\U0001F600",     L"\u0E01",    L" ",  L"a/b?c#d", L"\u00E9",
                                   L"Z0090UPN7\u5434"};

  std::set<std::wstring> addresses = {L""};
  const auto observe = [&] {
    const std::wstring code = TextOf(CodeBox());
    if (IsElevenBytes(code)) addresses.insert(AddressOf(code));
  };
  RECT client;
  GetClientRect(program_.window(), &client);
  unsigned notices = 0;

  for (unsigned i = 0; i < events; ++i) {
    observe();
    const std::size_t kind = pick(10);
    if (kind < 4) {
      const Key& key = keys[pick(std::size(keys))];
      PressKey(key.key, key.modifiers);
    } else if (kind < 6) {
      ClickAt(program_.window(),
              {static_cast<LONG>(pick(static_cast<std::size_t>(client.right))),
               static_cast<LONG>(pick(static_cast<std::size_t>(client.bottom)))});
    } else if (kind < 8) {
      // Somewhere on one of the ten controls, so that the buttons get their share.
      HWND control = program_.Control(按钮3 + static_cast<int>(pick(10)));
      RECT area;
      GetClientRect(control, &area);
      ClickAt(control, {static_cast<LONG>(pick(static_cast<std::size_t>(area.right))),
                        static_cast<LONG>(pick(static_cast<std::size_t>(area.bottom)))});
    } else if (kind < 9) {
      std::wstring text;
      for (std::size_t n = pick(3) + 1; n > 0; --n) text += pieces[pick(std::size(pieces))];
      PutUnicodeOnClipboard(text);
      PressKey('V', {VK_CONTROL});
    } else {
      TypeText(pieces[pick(std::size(pieces))]);
    }
    program_.WaitIdle(2000);
    while (HWND notice = program_.WaitForNotice(30)) {
      ++notices;
      ASSERT_TRUE(RemoteProgram::Dismiss(notice)) << "event " << i;
    }
    ASSERT_TRUE(Answers(program_.window())) << "no answer after event " << i;
    observe();
    const std::wstring shown = TextOf(AddressBox());
    ASSERT_TRUE(addresses.count(shown) == 1)
        << "event " << i << ": the address box shows " << testing::PrintToString(shown);
    program_.Activate();
  }
  std::printf("monkey: seed %u, %u events, %u notices dismissed, %zu different addresses\n", seed,
              events, notices, addresses.size() - 1);
  ExpectAliveThenEscExitsWithZero();
}

}  // namespace
}  // namespace vantorel
