// The address rule under a coverage-guided fuzzer. Every input is taken as the bytes of a code
// up to its first NUL, as the program hands the rule a C string; the properties below must hold
// for all of them, and AddressSanitizer and UBSan watch every access.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "../../core/address_rule.h"

namespace {

void Require(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vantorel::AnalyzeOutcome;
  // An empty input also stands for "no text at all".
  const std::string input(reinterpret_cast<const char*>(data), size);
  const char* code = size == 0 ? nullptr : input.c_str();
  const std::size_t length = code == nullptr ? 0 : std::strlen(code);

  const vantorel::AnalyzeResult result = vantorel::BuildDownloadAddress(code);

  // The outcome follows from the byte count alone.
  const AnalyzeOutcome expected = length == 0                       ? AnalyzeOutcome::EmptyCode
                                  : length == vantorel::kCodeLength ? AnalyzeOutcome::Built
                                                                    : AnalyzeOutcome::WrongLength;
  Require(result.outcome == expected);

  // The address is the fixed head, the code's bytes as they came and the fixed tail.
  if (expected == AnalyzeOutcome::Built) {
    const std::string address = std::string("http://") + vantorel::VideoHost + "/22222071/" +
                                std::string(code, length) + ".flv";
    Require(result.address() == address);
    Require(result.addressBytes[vantorel::kAddressLength] == '\0');
  } else {
    Require(result.address().empty());
  }

  // The notice is the one of the outcome, and the three notices differ.
  Require(result.message == vantorel::NoticeFor(result.outcome));
  Require(!result.message.empty());
  Require(vantorel::NoticeFor(AnalyzeOutcome::EmptyCode) !=
              vantorel::NoticeFor(AnalyzeOutcome::WrongLength) &&
          vantorel::NoticeFor(AnalyzeOutcome::WrongLength) !=
              vantorel::NoticeFor(AnalyzeOutcome::Built));
  return 0;
}
