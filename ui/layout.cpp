// The layout of the main window: its ten controls, top of the stacking order first.
#include "code_hint_bitmap.h"
#include "controls.h"

namespace vantorel {
namespace {

constexpr FontSpec kEditFont{-15, FW_NORMAL, "Tahoma"};
constexpr FontSpec kBannerFont{-24, FW_BOLD, "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA"};  // 微软雅黑

constexpr COLORREF kBannerGradient[] = {RGB(0, 136, 255), RGB(255, 255, 255), RGB(255, 255, 255)};

// Texts, as code page 936 bytes.
constexpr char kHelpCaption[] =  // 你说神马？不会用？看这里！
    "\xC4\xE3\xCB\xB5\xC9\xF1\xC2\xED\xA3\xBF\xB2\xBB\xBB\xE1\xD3\xC3\xA3\xBF\xBF\xB4\xD5\xE2\xC0"
    "\xEF\xA3\xA1";
constexpr char kBannerText[] = "Vantorel";
constexpr char kCopyCaption[] = "\xB8\xB4\xD6\xC6";                             // 复制
constexpr char kAddressCaption[] = "\xCF\xC2\xD4\xD8\xB5\xD8\xD6\xB7\xA3\xBA";  // 下载地址：
constexpr char kAnalyzeCaption[] = "\xB7\xD6\xCE\xF6";                          // 分析
constexpr char kExampleCode[] = "Z0090UPN7fm";
constexpr char kCodeCaption[] = "\xCC\xE1\xC8\xA1\xC2\xEB\xA3\xBA";  // 提取码：
constexpr char kHintCaption[] =  // 提取码如右图红框内所示
    "\xCC\xE1\xC8\xA1\xC2\xEB\xC8\xE7\xD3\xD2\xCD\xBC\xBA\xEC\xBF\xF2\xC4\xDA\xCB\xF9\xCA\xBE";

constexpr RECT At(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

constexpr ControlRecord kControls[] = {
    {.id = 按钮3,
     .kind = ControlKind::PushButton,
     .rect = At(40, 184, 304, 32),
     .tabStop = true,
     .text = kHelpCaption},
    {.id = 标签4,
     .kind = ControlKind::Label,
     .rect = At(0, 0, 376, 72),
     .text = kBannerText,
     .font = &kBannerFont,
     .backColor = kButtonFace,
     .gradient = kBannerGradient,
     .horizontalAlign = HorizontalAlign::Center},
    {.id = 按钮2,
     .kind = ControlKind::PushButton,
     .rect = At(285, 154, 80, 24),
     .tabStop = true,
     .text = kCopyCaption},
    {.id = 编辑框2,
     .kind = ControlKind::EditBox,
     .rect = At(76, 155, 198, 24),
     .tabStop = true,
     .font = &kEditFont,
     .readOnly = true},
    {.id = 标签3, .kind = ControlKind::Label, .rect = At(13, 153, 64, 26), .text = kAddressCaption},
    {.id = 按钮1,
     .kind = ControlKind::PushButton,
     .rect = At(285, 118, 80, 24),
     .tabStop = true,
     .text = kAnalyzeCaption},
    {.id = 编辑框1,
     .kind = ControlKind::EditBox,
     .rect = At(76, 119, 198, 24),
     .tabStop = true,
     .text = kExampleCode,
     .font = &kEditFont},
    {.id = 标签2, .kind = ControlKind::Label, .rect = At(13, 117, 56, 26), .text = kCodeCaption},
    {.id = 标签1, .kind = ControlKind::Label, .rect = At(13, 81, 160, 26), .text = kHintCaption},
    {.id = 图片框1,
     .kind = ControlKind::PictureBox,
     .rect = At(173, 81, 176, 26),
     .backColor = kButtonFace,
     .picture = kCodeHintBitmap},
};

}  // namespace

const std::span<const ControlRecord> kMainWindowControls = kControls;

}  // namespace vantorel
