#include "cp936_reference.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace testing_support {

#ifdef _WIN32
std::string Cp936(const char* utf8) {
  const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, wide.data(), wideLength);
  const int length = WideCharToMultiByte(936, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(936, 0, wide.c_str(), -1, bytes.data(), length, nullptr, nullptr);
  bytes.resize(std::strlen(bytes.c_str()));
  return bytes;
}
#else
std::string Cp936(const char* utf8) {
  iconv_t converter = iconv_open("CP936", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) std::abort();
  std::string in(utf8);
  std::string out(in.size() * 2 + 1, '\0');
  char* inPointer = in.data();
  char* outPointer = out.data();
  std::size_t inLeft = in.size();
  std::size_t outLeft = out.size();
  if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) ==
      static_cast<std::size_t>(-1)) {
    std::abort();
  }
  iconv_close(converter);
  out.resize(out.size() - outLeft);
  return out;
}
#endif

}  // namespace testing_support
