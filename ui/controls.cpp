#include "controls.h"

#include "../platform/text.h"
#include "control_kinds.h"

namespace vantorel {
namespace {

bool RegisterOwnClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
  WNDCLASSW windowClass{};
  windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  windowClass.lpszClassName = name;
  return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

DWORD BaseStyle(const ControlRecord& record) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (record.disabled) style |= WS_DISABLED;
  if (record.tabStop) style |= WS_TABSTOP;
  return style;
}

const wchar_t* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Label:
      return kLabelClass;
    case ControlKind::PictureBox:
      return kPictureBoxClass;
    case ControlKind::EditBox:
      return L"EDIT";
    case ControlKind::PushButton:
      return L"BUTTON";
  }
  return nullptr;
}

DWORD KindStyle(const ControlRecord& record) {
  switch (record.kind) {
    case ControlKind::EditBox:
      return ES_AUTOHSCROLL | (record.readOnly ? ES_READONLY : 0);
    case ControlKind::PushButton:
      return BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
    case ControlKind::Label:
    case ControlKind::PictureBox:
      break;
  }
  return 0;
}

}  // namespace

bool RegisterControlClasses(HINSTANCE instance) {
  return RegisterOwnClass(instance, kLabelClass, LabelWindowProc) &&
         RegisterOwnClass(instance, kPictureBoxClass, PictureBoxWindowProc);
}

HWND CreateControl(HWND parent, const ControlRecord& record) {
  const RECT& r = record.rect;
  HWND control = CreateWindowExW(
      0, ClassOf(record.kind), ToUtf16(record.text).c_str(), BaseStyle(record) | KindStyle(record),
      r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(record.id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
      const_cast<ControlRecord*>(&record));
  if (control == nullptr) return nullptr;

  if (record.kind == ControlKind::PushButton) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
  } else if (record.kind == ControlKind::EditBox && !AttachEditBox(control, record)) {
    DestroyWindow(control);
    return nullptr;
  }
  return control;
}

HFONT MakeFont(const FontSpec& description) {
  LOGFONTW font{};
  font.lfHeight = description.height;
  font.lfWeight = description.weight;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = PROOF_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH;
  lstrcpynW(font.lfFaceName, ToUtf16(description.face).c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&font);
}

}  // namespace vantorel
