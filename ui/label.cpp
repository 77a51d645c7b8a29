// Labels: single-line text on a plain or vertically graded background. The class has no
// background brush; everything is painted on WM_PAINT, inside the clip box only, and the text
// only when the clip box reaches it.
#include <algorithm>
#include <cstdint>

#include "../platform/heap.h"
#include "../platform/text.h"
#include "../platform/win_handles.h"
#include "control_kinds.h"

namespace vantorel {
namespace {

// The gradient is made in pieces of at most this many pixels square (10,000 bytes at 32 bits).
constexpr int kPieceSize = 50;

struct Label {
  const ControlRecord* record = nullptr;
  Font font;  // null: the stock DEFAULT_GUI_FONT
  RECT textRect{};
  bool textRectKnown = false;
  HGDIOBJ UsedFont() const { return font ? font.get() : GetStockObject(DEFAULT_GUI_FONT); }
};

Label* StateOf(HWND window) {
  return reinterpret_cast<Label*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

UINT TextFormat(const ControlRecord& record) {
  UINT format = DT_NOCLIP | DT_SINGLELINE;
  switch (record.horizontalAlign) {
    case HorizontalAlign::Left:
      format |= DT_LEFT;
      break;
    case HorizontalAlign::Center:
      format |= DT_CENTER;
      break;
    case HorizontalAlign::Right:
      format |= DT_RIGHT;
      break;
  }
  switch (record.verticalAlign) {
    case VerticalAlign::Top:
      format |= DT_TOP;
      break;
    case VerticalAlign::Center:
      format |= DT_VCENTER;
      break;
    case VerticalAlign::Bottom:
      format |= DT_BOTTOM;
      break;
  }
  return format;
}

// Draws the part of `bounds` inside `clip` with the gradient; rows are counted from the top of
// `bounds`, so a partial repaint matches a full one. False when a piece could not be drawn.
bool DrawVerticalGradient(HDC dc, const RECT& bounds, const RECT& clip,
                          std::span<const COLORREF> colors) {
  RECT area;
  if (!IntersectRect(&area, &bounds, &clip)) return true;
  const int height = bounds.bottom - bounds.top;

  std::uint32_t pixels[kPieceSize * kPieceSize];
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  for (int top = area.top; top < area.bottom; top += kPieceSize) {
    const int rows = std::min(kPieceSize, static_cast<int>(area.bottom) - top);
    for (int left = area.left; left < area.right; left += kPieceSize) {
      const int columns = std::min(kPieceSize, static_cast<int>(area.right) - left);
      for (int row = 0; row < rows; ++row) {
        const COLORREF color = GradientRowColor(colors, height, top - bounds.top + row);
        const std::uint32_t pixel = (std::uint32_t{GetRValue(color)} << 16) |
                                    (std::uint32_t{GetGValue(color)} << 8) | GetBValue(color);
        std::fill_n(pixels + row * columns, columns, pixel);
      }
      info.bmiHeader.biWidth = columns;
      info.bmiHeader.biHeight = -rows;  // top-down
      if (SetDIBitsToDevice(dc, left, top, columns, rows, 0, 0, 0, rows, pixels, &info,
                            DIB_RGB_COLORS) == 0) {
        return false;
      }
    }
  }
  return true;
}

// Where the text lands inside `bounds`, with a little room for overhanging glyphs.
RECT TextRect(HDC dc, const WideText& text, const RECT& bounds, const ControlRecord& record) {
  RECT size = bounds;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &size,
            TextFormat(record) | DT_CALCRECT);
  const LONG width = size.right - size.left;
  const LONG height = size.bottom - size.top;
  RECT rect;
  switch (record.horizontalAlign) {
    case HorizontalAlign::Left:
      rect.left = bounds.left;
      break;
    case HorizontalAlign::Center:
      rect.left = bounds.left + (bounds.right - bounds.left - width) / 2;
      break;
    case HorizontalAlign::Right:
      rect.left = bounds.right - width;
      break;
  }
  switch (record.verticalAlign) {
    case VerticalAlign::Top:
      rect.top = bounds.top;
      break;
    case VerticalAlign::Center:
      rect.top = bounds.top + (bounds.bottom - bounds.top - height) / 2;
      break;
    case VerticalAlign::Bottom:
      rect.top = bounds.bottom - height;
      break;
  }
  rect.right = rect.left + width;
  rect.bottom = rect.top + height;
  InflateRect(&rect, 4, 2);
  return rect;
}

void Paint(HWND window, Label& label) {
  const ControlRecord& record = *label.record;
  PaintScope paint(window);
  HDC dc = paint.dc();
  RECT clip;
  if (GetClipBox(dc, &clip) == NULLREGION || IsRectEmpty(&clip)) return;
  RECT bounds;
  GetClientRect(window, &bounds);
  // BeginPaint has already clipped the DC to the part being repainted.
  RECT area;
  if (!IntersectRect(&area, &clip, &bounds)) return;

  const bool graded =
      record.gradient.size() >= 2 && DrawVerticalGradient(dc, bounds, area, record.gradient);
  if (!graded) {
    Brush background(CreateSolidBrush(record.backColor.Resolve()));
    FillRect(dc, &area, background.get());
  }

  RECT reached;
  if (label.textRectKnown && !IntersectRect(&reached, &label.textRect, &area)) return;
  const WideText text = ReadWindowTextUtf16(window);
  if (text.empty()) return;
  SelectedObject font(dc, label.UsedFont());
  if (!label.textRectKnown) {
    label.textRect = TextRect(dc, text, bounds, record);
    label.textRectKnown = true;
    if (!IntersectRect(&reached, &label.textRect, &area)) return;
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, record.textColor.Resolve());
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, TextFormat(record));
}

}  // namespace

COLORREF GradientRowColor(std::span<const COLORREF> colors, int height, int y) {
  const int last = static_cast<int>(colors.size()) - 1;
  const int segment = height / last;
  const int k = segment == 0 ? 0 : y / segment;
  if (k > last - 1) return colors[static_cast<std::size_t>(last)];
  const double t = segment == 0 ? 0.0 : static_cast<double>(y % segment) / segment;
  const COLORREF from = colors[static_cast<std::size_t>(k)];
  const COLORREF to = colors[static_cast<std::size_t>(k) + 1];
  // The step is truncated toward zero, also when the channel falls.
  const auto channel = [t](int a, int b) { return a + static_cast<int>(t * (b - a)); };
  return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
             channel(GetBValue(from), GetBValue(to)));
}

LRESULT CALLBACK LabelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      const auto* record = static_cast<const ControlRecord*>(create->lpCreateParams);
      auto* label = record != nullptr ? HeapNew<Label>() : nullptr;
      if (label == nullptr) return FALSE;
      label->record = record;
      if (record->font != nullptr) label->font.reset(MakeFont(*record->font));
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(label));
      break;
    }
    case WM_NCDESTROY:
      HeapDelete(StateOf(window));
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    case WM_SETTEXT:
    case WM_SIZE:
      if (Label* label = StateOf(window)) label->textRectKnown = false;
      break;
    case WM_PAINT:
      if (Label* label = StateOf(window)) {
        Paint(window, *label);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 0;  // painted whole on WM_PAINT
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace vantorel
