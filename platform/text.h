// The one place where the program's texts cross into Windows. Inside the program every text is
// code page 936 (GBK) bytes; Windows is always called through its UTF-16 entry points, so the
// window reads correctly whatever the system's ANSI code page is.
#pragma once

#include <windows.h>

#include <string_view>

#include "heap.h"

namespace vantorel {

// The code page of all the program's texts.
inline constexpr UINT kTextCodePage = 936;

// A NUL-terminated text of `Char`s; empty when it could not be made.
template <typename Char>
class OwnedText {
 public:
  OwnedText() = default;
  OwnedText(HeapArray<Char> chars, std::size_t length)
      : chars_(std::move(chars)), length_(length) {}

  const Char* c_str() const { return chars_ ? chars_.data() : kEmpty; }
  std::basic_string_view<Char> view() const { return {c_str(), length_}; }
  std::size_t size() const { return length_; }
  bool empty() const { return length_ == 0; }

 private:
  static constexpr Char kEmpty[1] = {};
  HeapArray<Char> chars_;
  std::size_t length_ = 0;
};

using WideText = OwnedText<wchar_t>;

struct Cp936Text {
  OwnedText<char> text;
  bool exact = true;  // false when some character has no code page 936 form and was left out
};

// Code page 936 bytes to UTF-16.
WideText ToUtf16(std::string_view text);

// UTF-16 to code page 936 bytes. A character that code page 936 cannot hold (an emoji, say) is
// never replaced by a look-alike or a '?': it is dropped and `exact` is false.
Cp936Text ToCp936(std::wstring_view text);

// The text a window shows right now, whole: as UTF-16, and as code page 936 bytes.
WideText ReadWindowTextUtf16(HWND window);
Cp936Text ReadWindowText(HWND window);

// Sets the text a window shows.
void WriteWindowText(HWND window, std::string_view text);

}  // namespace vantorel
