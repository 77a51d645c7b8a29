// The one place where the program's texts cross into Windows. Inside the program every text is
// code page 936 (GBK) bytes; Windows is always called through its UTF-16 entry points, so the
// window reads correctly whatever the system's ANSI code page is.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vantorel {

// The code page of all the program's texts.
inline constexpr UINT kTextCodePage = 936;

// Code page 936 bytes to UTF-16.
std::wstring ToUtf16(std::string_view text);

struct Cp936Text {
  std::string text;
  bool exact;  // false when some character has no code page 936 form and was left out
};

// UTF-16 to code page 936 bytes. A character that code page 936 cannot hold (an emoji, say) is
// never replaced by a look-alike or a '?': it is dropped and `exact` is false.
Cp936Text ToCp936(std::wstring_view text);

// The text a window shows right now, whole, as code page 936 bytes.
Cp936Text ReadWindowText(HWND window);

// Sets the text a window shows.
void WriteWindowText(HWND window, std::string_view text);

}  // namespace vantorel
