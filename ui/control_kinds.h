// The kinds of control that the program draws or adjusts itself.
#pragma once

#include <windows.h>

#include "controls.h"

namespace vantorel {

inline constexpr wchar_t kLabelClass[] = L"VantorelLabel";
inline constexpr wchar_t kPictureBoxClass[] = L"VantorelPictureBox";

// Window procedures of the program's own classes. Both expect the control's record as the
// creation parameter; the record must outlive the window.
LRESULT CALLBACK LabelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PictureBoxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Takes over a freshly created standard edit control: its font and minimum height, its
// vertically centred text line, its frame and its colours. False if that cannot be done.
bool AttachEditBox(HWND edit, const ControlRecord& record);

// The colour of pixel row `y` (counted from the top) of a vertical gradient through `colors`
// over `height` rows.
COLORREF GradientRowColor(std::span<const COLORREF> colors, int height, int y);

}  // namespace vantorel
