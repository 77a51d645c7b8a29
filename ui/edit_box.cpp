// Edit boxes: standard single-line edit controls whose one text line the program centres
// vertically, with the bands above and below and the text background in the box's own colour.
#include <windows.h>
#include <commctrl.h>

#include "../platform/heap.h"
#include "../platform/win_handles.h"
#include "control_kinds.h"

namespace vantorel {
namespace {

constexpr UINT_PTR kSubclassId = 1;

struct EditBox {
  Font font;  // null: the stock DEFAULT_GUI_FONT
  Brush background;
  COLORREF textColor;
  COLORREF backColor;
  HFONT UsedFont() const {
    return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }
};

int TextHeight(HWND window, HFONT font, const wchar_t* sample) {
  WindowDc dc = WindowDc::Client(window);
  SelectedObject selected(dc.get(), font);
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), sample, lstrlenW(sample), &size);
  return size.cy;
}

// The client rectangle becomes one text line high, centred vertically.
void CenterTextLine(HWND window, RECT& client) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  const int line = TextHeight(window, font, L"W");
  client.top += (client.bottom - client.top - line) / 2;
  client.bottom = client.top + line;
}

void PaintBands(HWND window, const EditBox& box) {
  RECT whole;
  GetWindowRect(window, &whole);
  RECT client;
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -whole.left, -whole.top);
  OffsetRect(&whole, -whole.left, -whole.top);

  WindowDc dc = WindowDc::Whole(window);
  ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
  FillRect(dc.get(), &whole, box.background.get());
}

LRESULT CALLBACK EditBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
  auto& box = *reinterpret_cast<EditBox*>(data);
  switch (message) {
    case WM_NCCALCSIZE: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      RECT& client = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                            : *reinterpret_cast<RECT*>(lParam);
      CenterTextLine(window, client);
      return result;
    }
    case WM_NCPAINT:
      PaintBands(window, box);
      return DefSubclassProc(window, WM_NCPAINT, 1, 0);
    case WM_NCHITTEST: {
      POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ScreenToClient(window, &point);
      RECT client;
      GetClientRect(window, &client);
      if (!PtInRect(&client, point)) return HTBORDER;  // a click in a band moves no caret
      break;
    }
    case WM_ERASEBKGND: {
      RECT clip;
      const auto dc = reinterpret_cast<HDC>(wParam);
      GetClipBox(dc, &clip);
      FillRect(dc, &clip, box.background.get());
      return 1;
    }
    case kChildColorRequest: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, box.textColor);
      SetBkColor(dc, box.backColor);
      return reinterpret_cast<LRESULT>(box.background.get());
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, EditBoxProc, kSubclassId);
      HeapDelete(&box);
      return DefSubclassProc(window, message, wParam, lParam);
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

constexpr UINT kQuietReframe =
    SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_FRAMECHANGED;

}  // namespace

bool AttachEditBox(HWND edit, const ControlRecord& record) {
  auto* box = HeapNew<EditBox>();
  if (box == nullptr) return false;
  if (record.font != nullptr) box->font.reset(MakeFont(*record.font));
  box->background.reset(CreateSolidBrush(record.backColor.Resolve()));
  box->textColor = record.textColor.Resolve();
  box->backColor = record.backColor.Resolve();
  if (!SetWindowSubclass(edit, EditBoxProc, kSubclassId, reinterpret_cast<DWORD_PTR>(box))) {
    HeapDelete(box);
    return false;
  }

  // Tall enough for one line of Chinese text and the sunken edge.
  const int minimum =
      TextHeight(edit, box->UsedFont(), L"\u5434") + 2 * GetSystemMetrics(SM_CYEDGE);
  RECT rect;
  GetWindowRect(edit, &rect);
  if (rect.bottom - rect.top < minimum) {
    SetWindowPos(edit, nullptr, 0, 0, rect.right - rect.left, minimum,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(box->UsedFont()), FALSE);
  SendMessageW(edit, EM_LIMITTEXT, 0, 0);
  SendMessageW(edit, EM_SETSEL, 0, 0);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);

  LONG_PTR exStyle = GetWindowLongPtrW(edit, GWL_EXSTYLE);
  exStyle = (exStyle | WS_EX_CLIENTEDGE) & ~(WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME);
  SetWindowLongPtrW(edit, GWL_EXSTYLE, exStyle);
  SetWindowLongPtrW(edit, GWL_STYLE, GetWindowLongPtrW(edit, GWL_STYLE) & ~WS_BORDER);
  // One frame change for the font and the edges: the text line is centred for both at once.
  SetWindowPos(edit, nullptr, 0, 0, 0, 0, kQuietReframe);
  return true;
}

}  // namespace vantorel
