// Code page 936 bytes of a UTF-8 text, converted by the system (iconv on Linux, the Windows
// code page tables under Windows), so that tests never take expected bytes from the program.
#pragma once

#include <string>

namespace testing_support {

std::string Cp936(const char* utf8);

}  // namespace testing_support
