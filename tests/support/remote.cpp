#include "remote.h"

#include <vector>

namespace testing_support {
namespace {

std::wstring ProgramPath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + L"Vantorel.exe";
}

struct WindowSearch {
  DWORD threadId;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<WindowSearch*>(lParam);
  if (GetWindowThreadProcessId(window, nullptr) != search.threadId || !IsWindowVisible(window)) {
    return TRUE;
  }
  wchar_t name[64];
  GetClassNameW(window, name, 64);
  if (search.className != nullptr && lstrcmpW(name, search.className) != 0) return TRUE;
  search.found = window;
  return FALSE;
}

HWND FindTopLevel(DWORD threadId, const wchar_t* className) {
  WindowSearch search{threadId, className, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT Key(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  }
}

std::wstring TextOf(HWND window) {
  wchar_t buffer[1024];
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG, 2000, &length)) {
    return L"<no answer>";
  }
  return std::wstring(buffer, length);
}

void PressKey(WORD key, std::initializer_list<WORD> modifiers) {
  std::vector<INPUT> inputs;
  for (WORD modifier : modifiers) inputs.push_back(Key(modifier, false));
  inputs.push_back(Key(key, false));
  inputs.push_back(Key(key, true));
  for (auto it = modifiers.end(); it != modifiers.begin();) inputs.push_back(Key(*--it, true));
  Send(inputs);
  Sleep(50);
}

void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t unit : text) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = unit;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    inputs.push_back(input);
    input.ki.dwFlags |= KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  Send(inputs);
  Sleep(50);
}

bool Answers(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

void ClickAt(HWND window, POINT client) {
  ClientToScreen(window, &client);
  ClickAtScreen(client);
}

void ClickAtScreen(POINT screen) {
  // Every event carries the point: a press without one lands wherever Wine last saw the
  // pointer, which after an earlier test can be another window's close button. Move, press
  // and release come apart, as from a hand: the caption's buttons track the press.
  const auto at = [&](DWORD action) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | action;
    return input;
  };
  Send({at(0)});
  Sleep(10);
  Send({at(MOUSEEVENTF_LEFTDOWN)});
  Sleep(10);
  Send({at(MOUSEEVENTF_LEFTUP)});
  Sleep(50);
}

RemoteProgram::RemoteProgram() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring path = ProgramPath();
  std::wstring commandLine = L"\"" + path + L"\"";
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process_)) {
    return;
  }
  WaitForInputIdle(process_.hProcess, 10000);
  WaitUntil([&] { return (window_ = FindTopLevel(process_.dwThreadId, L"VantorelMainWindow")); },
            10000);
}

RemoteProgram::~RemoteProgram() {
  if (process_.hProcess == nullptr) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

HWND RemoteProgram::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(process_.dwThreadId, &info);
  return info.hwndFocus;
}

void RemoteProgram::Activate() const {
  SetForegroundWindow(window_);
  WaitUntil([&] { return GetForegroundWindow() == window_; }, 2000);
}

HWND RemoteProgram::WaitForNotice(DWORD timeoutMs) const {
  HWND notice = nullptr;
  WaitUntil([&] { return (notice = FindTopLevel(process_.dwThreadId, L"#32770")) != nullptr; },
            timeoutMs);
  return notice;
}

std::wstring RemoteProgram::NoticeText(HWND notice) {
  // The message is the text of the box's static control that has one (the icon has none).
  for (HWND child = GetWindow(notice, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[32];
    GetClassNameW(child, name, 32);
    if (lstrcmpiW(name, L"Static") == 0) {
      std::wstring text = TextOf(child);
      if (!text.empty()) return text;
    }
  }
  return {};
}

bool RemoteProgram::Dismiss(HWND notice) {
  PostMessageW(GetDlgItem(notice, IDOK), BM_CLICK, 0, 0);
  return WaitUntil([&] { return !IsWindow(notice); }, 5000);
}

bool RemoteProgram::WaitIdle(DWORD timeoutMs) const {
  return WaitForInputIdle(process_.hProcess, timeoutMs) == 0;
}

DWORD RemoteProgram::WaitForExit(DWORD timeoutMs) const {
  if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

}  // namespace testing_support
