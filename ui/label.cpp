// Labels: single-line text on a plain or vertically graded background. The class has no
// background brush; everything is painted on WM_PAINT, inside the clip box only.
#include <algorithm>
#include <cstdint>

#include "../platform/text.h"
#include "../platform/win_handles.h"
#include "control_kinds.h"

namespace vantorel {
namespace {

// The gradient is made in pieces of at most this many pixels square (10,000 bytes at 32 bits).
constexpr int kPieceSize = 50;

const ControlRecord* RecordOf(HWND window) {
  return reinterpret_cast<const ControlRecord*>(GetWindowLongPtrW(window, GWLP_USERDATA));
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

void Paint(HWND window, const ControlRecord& record) {
  PaintScope paint(window);
  HDC dc = paint.dc();
  RECT clip;
  if (GetClipBox(dc, &clip) == NULLREGION || IsRectEmpty(&clip)) return;
  RECT bounds;
  GetClientRect(window, &bounds);
  RECT area;
  if (!IntersectRect(&area, &clip, &bounds)) return;
  {
    Region region(CreateRectRgnIndirect(&area));
    SelectClipRgn(dc, region.get());
  }

  const bool graded =
      record.gradient.size() >= 2 && DrawVerticalGradient(dc, bounds, area, record.gradient);
  if (!graded) {
    Brush background(CreateSolidBrush(record.backColor.Resolve()));
    FillRect(dc, &area, background.get());
  }

  const WideText text = ReadWindowTextUtf16(window);
  if (text.empty()) return;

  Font ownFont(record.font != nullptr ? MakeFont(*record.font) : nullptr);
  SelectedObject font(dc, ownFont ? ownFont.get() : GetStockObject(DEFAULT_GUI_FONT));
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
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_PAINT:
      if (const ControlRecord* record = RecordOf(window)) {
        Paint(window, *record);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 0;  // painted whole on WM_PAINT
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace vantorel
