#include "address_rule.h"

#include <cstring>

#include "hosts.h"

namespace vantorel {
namespace {

// The notices, as code page 936 bytes.
constexpr char kEmptyCodeNotice[] =  // 请先输入提取码再分析！
    "\xC7\xEB\xCF\xC8\xCA\xE4\xC8\xEB\xCC\xE1\xC8\xA1\xC2\xEB\xD4\xD9\xB7\xD6\xCE\xF6\xA3\xA1";
constexpr char kWrongLengthNotice[] =  // 请正确输入提取码再分析！
    "\xC7\xEB\xD5\xFD\xC8\xB7\xCA\xE4\xC8\xEB\xCC\xE1\xC8\xA1\xC2\xEB\xD4\xD9\xB7\xD6\xCE\xF6\xA3"
    "\xA1";
constexpr char kBuiltNotice[] = "\xB7\xD6\xCE\xF6\xB3\xC9\xB9\xA6\xA3\xA1";  // 分析成功！

constexpr std::string_view kAddressHead = "http://";
constexpr std::string_view kAddressPath = "/22222071/";
constexpr std::string_view kAddressTail = ".flv";

AnalyzeResult Refusal(AnalyzeOutcome outcome) {
  return {outcome, std::string(), std::string(NoticeFor(outcome))};
}

}  // namespace

AnalyzeResult BuildDownloadAddress(const char* code) {
  if (code == nullptr || *code == '\0') return Refusal(AnalyzeOutcome::EmptyCode);
  const std::string_view bytes(code, std::strlen(code));
  if (bytes.size() != kCodeLength) return Refusal(AnalyzeOutcome::WrongLength);

  const std::string_view host = VideoHost;
  std::string address;
  address.reserve(kAddressHead.size() + host.size() + kAddressPath.size() + bytes.size() +
                  kAddressTail.size());
  address.append(kAddressHead).append(host).append(kAddressPath).append(bytes).append(kAddressTail);
  return {AnalyzeOutcome::Built, std::move(address), std::string(kBuiltNotice)};
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
