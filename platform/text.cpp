#include "text.h"

#include <climits>

namespace vantorel {

std::wstring ToUtf16(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(kTextCodePage, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kTextCodePage, 0, text.data(), size, wide.data(), length);
  return wide;
}

namespace {

// Converts `text` whole; false when a character had no code page 936 form.
bool ConvertExactly(std::wstring_view text, std::string& out) {
  out.clear();
  if (text.empty()) return true;
  if (text.size() > INT_MAX / 2) return false;
  const int size = static_cast<int>(text.size());
  out.resize(text.size() * 2);
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(kTextCodePage, WC_NO_BEST_FIT_CHARS, text.data(), size,
                                         out.data(), size * 2, nullptr, &usedDefault);
  out.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return length > 0 && !usedDefault;
}

}  // namespace

Cp936Text ToCp936(std::wstring_view text) {
  Cp936Text result{{}, true};
  if (ConvertExactly(text, result.text)) return result;

  // Some character has no code page 936 form: convert one character at a time and drop just
  // those. A surrogate pair is one character.
  result.text.clear();
  result.exact = false;
  std::string bytes;
  for (std::size_t i = 0; i < text.size();) {
    const bool pair =
        IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]);
    const std::size_t units = pair ? 2 : 1;
    if (ConvertExactly(text.substr(i, units), bytes)) result.text += bytes;
    i += units;
  }
  return result;
}

Cp936Text ReadWindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {{}, true};
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, wide.data(), length + 1);
  wide.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return ToCp936(wide);
}

void WriteWindowText(HWND window, std::string_view text) {
  SetWindowTextW(window, ToUtf16(text).c_str());
}

}  // namespace vantorel
