#include "command_handlers.h"

#include "../core/address_rule.h"
#include "../platform/text.h"
#include "controls.h"
#include "hosts.h"

namespace vantorel {
namespace {

// Notices of the copy button, as code page 936 bytes.
constexpr char kNothingToCopyNotice[] =  // 请先输入提取码并分析！
    "\xC7\xEB\xCF\xC8\xCA\xE4\xC8\xEB\xCC\xE1\xC8\xA1\xC2\xEB\xB2\xA2\xB7\xD6\xCE\xF6\xA3\xA1";
constexpr char kCopiedNotice[] =  // 地址已成功拷贝到剪辑板！
    "\xB5\xD8\xD6\xB7\xD2\xD1\xB3\xC9\xB9\xA6\xBF\xBD\xB1\xB4\xB5\xBD\xBC\xF4\xBC\xAD\xB0\xE5\xA3"
    "\xA1";
constexpr char kCopyFailedNotice[] =  // 复制失败，请稍后再试！
    "\xB8\xB4\xD6\xC6\xCA\xA7\xB0\xDC\xA3\xAC\xC7\xEB\xC9\xD4\xBA\xF3\xD4\xD9\xCA\xD4\xA3\xA1";

constexpr ClickBinding kBindings[] = {
    {按钮1, &CommandHandlers::OnAnalyzeClicked},
    {按钮2, &CommandHandlers::OnCopyClicked},
    {按钮3, &CommandHandlers::OnHelpClicked},
};

}  // namespace

const std::span<const ClickBinding> kClickBindings = kBindings;

void CommandHandlers::OnAnalyzeClicked() {
  const Cp936Text code = ReadWindowText(GetDlgItem(window_, 编辑框1));
  if (!code.exact) {
    // A character without a code page 936 form cannot be part of a code; building an address
    // from what is left would give one the user never typed.
    services_.ShowInfoMessage(NoticeFor(AnalyzeOutcome::WrongLength));
    return;
  }
  const AnalyzeResult result = BuildDownloadAddress(code.text.c_str());
  if (result.outcome == AnalyzeOutcome::Built) {
    WriteWindowText(GetDlgItem(window_, 编辑框2), result.address());
  }
  services_.ShowInfoMessage(result.message);
}

void CommandHandlers::OnCopyClicked() {
  const Cp936Text address = ReadWindowText(GetDlgItem(window_, 编辑框2));
  if (address.text.empty()) {
    services_.ShowInfoMessage(kNothingToCopyNotice);
    return;
  }
  const bool copied = services_.SetClipboardText(address.text.view());
  services_.ShowInfoMessage(copied ? kCopiedNotice : kCopyFailedNotice);
}

void CommandHandlers::OnHelpClicked() {
  services_.OpenUrl(HelpPageAddress);
}

}  // namespace vantorel
