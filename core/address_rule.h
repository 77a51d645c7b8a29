// The address rule: checks a code typed by the user and builds the video's direct download
// address from it. Plain C++: no Windows headers, so it builds and is tested on any host.
//
// Texts are NUL-terminated code page 936 (GBK) bytes. The rule never decodes them: it counts
// bytes and copies them as they are.
#pragma once

#include <cstddef>
#include <string_view>

#include "hosts.h"

namespace vantorel {

// A code is exactly this many bytes: an ASCII character counts 1, a Chinese character 2.
inline constexpr std::size_t kCodeLength = 11;

// "http://" + VideoHost + "/22222071/" + code + ".flv": every address has this many bytes.
inline constexpr std::size_t kAddressLength = (sizeof "http://" - 1) + (sizeof VideoHost - 1) +
                                              (sizeof "/22222071/" - 1) + kCodeLength +
                                              (sizeof ".flv" - 1);

enum class AnalyzeOutcome {
  EmptyCode,    // nothing was entered
  WrongLength,  // something was entered, but not kCodeLength bytes
  Built,        // the address was built
};

struct AnalyzeResult {
  AnalyzeOutcome outcome;
  std::string_view message;               // the notice the user sees for this outcome
  char addressBytes[kAddressLength + 1];  // NUL-terminated; empty unless Built

  // The download address when the outcome is Built, otherwise empty.
  std::string_view address() const {
    return outcome == AnalyzeOutcome::Built ? std::string_view(addressBytes, kAddressLength)
                                            : std::string_view();
  }
};

// Checks `code` (nullptr stands for no text at all) and builds its address. Nothing is trimmed,
// escaped or case-folded: the code's bytes go into the address exactly as they came.
AnalyzeResult BuildDownloadAddress(const char* code);

// The notice shown for `outcome`.
std::string_view NoticeFor(AnalyzeOutcome outcome);

}  // namespace vantorel
