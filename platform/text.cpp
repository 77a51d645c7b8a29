#include "text.h"

#include <climits>

namespace vantorel {

WideText ToUtf16(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(kTextCodePage, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  HeapArray<wchar_t> wide(static_cast<std::size_t>(length) + 1);
  if (!wide) return {};
  MultiByteToWideChar(kTextCodePage, 0, text.data(), size, wide.data(), length);
  return {std::move(wide), static_cast<std::size_t>(length)};
}

namespace {

// Converts `text` whole into `out`, which has room for `room` bytes; the number of bytes
// written, or -1 when a character had no code page 936 form or did not fit.
int ConvertExactly(std::wstring_view text, char* out, std::size_t room) {
  if (text.empty()) return 0;
  const int size = static_cast<int>(text.size());
  const int capacity = room > INT_MAX ? INT_MAX : static_cast<int>(room);
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size,
                                         out, capacity, nullptr, &usedDefault);
  return length > 0 && !usedDefault ? length : -1;
}

}  // namespace

Cp936Text ToCp936(std::wstring_view text) {
  // Code page 936 takes at most two bytes for one UTF-16 unit.
  if (text.empty() || text.size() > INT_MAX / 2) return {{}, text.empty()};
  const std::size_t room = text.size() * 2;
  HeapArray<char> bytes(room + 1);
  if (!bytes) return {{}, false};

  const int whole = ConvertExactly(text, bytes.data(), room);
  if (whole >= 0) return {{std::move(bytes), static_cast<std::size_t>(whole)}, true};

  // Some character has no code page 936 form: convert one character at a time and drop just
  // those. A surrogate pair is one character.
  std::size_t length = 0;
  for (std::size_t i = 0; i < text.size();) {
    const bool pair =
        IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]);
    const std::size_t units = pair ? 2 : 1;
    const int written = ConvertExactly(std::wstring_view(text.data() + i, units),
                                       bytes.data() + length, room - length);
    if (written > 0) length += static_cast<std::size_t>(written);
    i += units;
  }
  bytes.data()[length] = '\0';
  return {{std::move(bytes), length}, false};
}

WideText ReadWindowTextUtf16(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  HeapArray<wchar_t> wide(static_cast<std::size_t>(length) + 1);
  if (!wide) return {};
  const int copied = GetWindowTextW(window, wide.data(), length + 1);
  return {std::move(wide), static_cast<std::size_t>(copied > 0 ? copied : 0)};
}

Cp936Text ReadWindowText(HWND window) {
  return ToCp936(ReadWindowTextUtf16(window).view());
}

void WriteWindowText(HWND window, std::string_view text) {
  SetWindowTextW(window, ToUtf16(text).c_str());
}

}  // namespace vantorel
