// The controls of the main window as data: one constant record per control, and the window
// procedure of each kind that the program draws itself.
#pragma once

#include <windows.h>

#include <span>

namespace vantorel {

// Child-window identifiers, one per control, named as in the window's layout. They start well
// above IDOK and IDCANCEL, which the system sends on its own for Enter and Esc.
enum ControlId : int {
  按钮3 = 1001,  // help button
  标签4,         // banner
  按钮2,         // copy button
  编辑框2,       // address box
  标签3,         // address caption
  按钮1,         // analyze button
  编辑框1,       // code box
  标签2,         // code caption
  标签1,         // hint label
  图片框1,       // hint picture
};

enum class ControlKind { Label, EditBox, PushButton, PictureBox };
enum class HorizontalAlign { Left, Center, Right };
enum class VerticalAlign { Top, Center, Bottom };

// A colour, or the system's button face, looked up each time a brush is made from it.
struct Color {
  bool buttonFace;
  COLORREF rgb;
  COLORREF Resolve() const { return buttonFace ? GetSysColor(COLOR_BTNFACE) : rgb; }
};
inline constexpr Color kBlack{false, RGB(0, 0, 0)};
inline constexpr Color kWhite{false, RGB(255, 255, 255)};
inline constexpr Color kButtonFace{true, 0};

// A font made with CreateFontIndirect; `face` is code page 936 text.
struct FontSpec {
  LONG height;
  LONG weight;
  const char* face;
};

struct ControlRecord {
  int id;
  ControlKind kind;
  RECT rect;  // left, top, right, bottom in the main window's client area
  bool visible = true;
  bool disabled = false;
  bool tabStop = false;
  int tabOrder = 0;                // smaller first; equal numbers go in reverse list order
  const char* text = "";           // code page 936
  const FontSpec* font = nullptr;  // nullptr: the stock DEFAULT_GUI_FONT
  Color textColor = kBlack;
  Color backColor = kWhite;
  std::span<const COLORREF> gradient = {};  // label: top-to-bottom colours, none or 2 or more
  HorizontalAlign horizontalAlign = HorizontalAlign::Left;
  VerticalAlign verticalAlign = VerticalAlign::Center;
  bool readOnly = false;                        // edit box
  std::span<const unsigned char> picture = {};  // picture box: a Windows bitmap file
};

// The main window's ten controls, top of the stacking order first; they are created last first.
extern const std::span<const ControlRecord> kMainWindowControls;

// Sent by the main window to the child that asks for its colours (WM_CTLCOLOREDIT and the
// like), with the same wParam. A child that answers with a brush has set up the DC itself.
inline constexpr UINT kChildColorRequest = WM_APP + 1;

// Registers the window classes of the kinds the program draws itself.
bool RegisterControlClasses(HINSTANCE instance);

// Creates the control's window, hidden, as a child of `parent`. Null on failure.
HWND CreateControl(HWND parent, const ControlRecord& record);

// Makes a font after `description`, or null when it cannot be made.
HFONT MakeFont(const FontSpec& description);

}  // namespace vantorel
