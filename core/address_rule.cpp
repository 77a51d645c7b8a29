#include "address_rule.h"

#include <cstring>

namespace vantorel {
namespace {

// The notices, as code page 936 bytes.
constexpr char kEmptyCodeNotice[] =  // 请先输入提取码再分析！
    "\xC7\xEB\xCF\xC8\xCA\xE4\xC8\xEB\xCC\xE1\xC8\xA1\xC2\xEB\xD4\xD9\xB7\xD6\xCE\xF6\xA3\xA1";
constexpr char kWrongLengthNotice[] =  // 请正确输入提取码再分析！
    "\xC7\xEB\xD5\xFD\xC8\xB7\xCA\xE4\xC8\xEB\xCC\xE1\xC8\xA1\xC2\xEB\xD4\xD9\xB7\xD6\xCE\xF6\xA3"
    "\xA1";
constexpr char kBuiltNotice[] = "\xB7\xD6\xCE\xF6\xB3\xC9\xB9\xA6\xA3\xA1";  // 分析成功！

// Copies `part` to `out` and returns the end of the copy.
char* Append(char* out, std::string_view part) {
  std::memcpy(out, part.data(), part.size());
  return out + part.size();
}

}  // namespace

AnalyzeResult BuildDownloadAddress(const char* code) {
  AnalyzeResult result{AnalyzeOutcome::Built, kBuiltNotice, {}};
  const std::size_t length = code == nullptr ? 0 : std::strlen(code);
  if (length != kCodeLength) {
    result.outcome = length == 0 ? AnalyzeOutcome::EmptyCode : AnalyzeOutcome::WrongLength;
    result.message = NoticeFor(result.outcome);
    return result;
  }
  char* end = Append(result.addressBytes, "http://");
  end = Append(end, VideoHost);
  end = Append(end, "/22222071/");
  end = Append(end, std::string_view(code, kCodeLength));
  Append(end, ".flv");
  return result;
}

std::string_view NoticeFor(AnalyzeOutcome outcome) {
  switch (outcome) {
    case AnalyzeOutcome::EmptyCode:
      return kEmptyCodeNotice;
    case AnalyzeOutcome::WrongLength:
      return kWrongLengthNotice;
    case AnalyzeOutcome::Built:
      return kBuiltNotice;
  }
  return {};
}

}  // namespace vantorel
