// The picture box: a Windows bitmap file shown opaque at its natural size at the top-left
// corner, over a background of its own colour.
#include <climits>
#include <cstring>

#include "../platform/heap.h"
#include "../platform/win_handles.h"
#include "control_kinds.h"

namespace vantorel {
namespace {

// A bitmap file's headers and pixels, found in place inside the file's bytes.
struct DecodedPicture {
  const BITMAPINFO* info = nullptr;
  const void* bits = nullptr;
  int width = 0;
  int height = 0;
};

// Accepts uncompressed bitmaps of 24 or 32 bits per pixel whose pixels lie inside the file.
DecodedPicture Decode(std::span<const unsigned char> file) {
  BITMAPFILEHEADER fileHeader;
  BITMAPINFOHEADER infoHeader;
  if (file.size() < sizeof fileHeader + sizeof infoHeader) return {};
  std::memcpy(&fileHeader, file.data(), sizeof fileHeader);
  std::memcpy(&infoHeader, file.data() + sizeof fileHeader, sizeof infoHeader);
  if (fileHeader.bfType != 0x4D42 || infoHeader.biSize < sizeof infoHeader ||
      infoHeader.biPlanes != 1 || infoHeader.biCompression != BI_RGB ||
      (infoHeader.biBitCount != 24 && infoHeader.biBitCount != 32) || infoHeader.biWidth <= 0 ||
      infoHeader.biHeight == 0 || infoHeader.biHeight == LONG_MIN) {
    return {};
  }
  const long long width = infoHeader.biWidth;
  const long long height = infoHeader.biHeight < 0 ? -infoHeader.biHeight : infoHeader.biHeight;
  const long long stride = (width * infoHeader.biBitCount + 31) / 32 * 4;
  if (fileHeader.bfOffBits < sizeof fileHeader + infoHeader.biSize ||
      fileHeader.bfOffBits > file.size() ||
      stride * height > static_cast<long long>(file.size() - fileHeader.bfOffBits)) {
    return {};
  }
  return {reinterpret_cast<const BITMAPINFO*>(file.data() + sizeof fileHeader),
          file.data() + fileHeader.bfOffBits, static_cast<int>(width), static_cast<int>(height)};
}

struct PictureBox {
  Brush background;
  DecodedPicture picture;
};

PictureBox* StateOf(HWND window) {
  return reinterpret_cast<PictureBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Paint(HWND window, const PictureBox& box) {
  PaintScope paint(window);
  HDC dc = paint.dc();
  RECT client;
  GetClientRect(window, &client);
  {
    SelectedObject brush(dc, box.background.get());
    PatBlt(dc, 0, 0, client.right, client.bottom, PATCOPY);
  }
  const DecodedPicture& picture = box.picture;
  if (picture.info == nullptr) return;
  Bitmap bitmap(CreateDIBitmap(dc, &picture.info->bmiHeader, CBM_INIT, picture.bits, picture.info,
                               DIB_RGB_COLORS));
  MemoryDc source(CreateCompatibleDC(dc));
  if (!bitmap || !source) return;
  SelectedObject selected(source.get(), bitmap.get());
  StretchBlt(dc, 0, 0, picture.width, picture.height, source.get(), 0, 0, picture.width,
             picture.height, SRCCOPY);
}

}  // namespace

LRESULT CALLBACK PictureBoxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      const auto* record = static_cast<const ControlRecord*>(create->lpCreateParams);
      auto* box = record != nullptr ? HeapNew<PictureBox>() : nullptr;
      if (box == nullptr) return FALSE;
      box->background.reset(CreateSolidBrush(record->backColor.Resolve()));
      box->picture = Decode(record->picture);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box));
      break;
    }
    case WM_NCDESTROY:
      HeapDelete(StateOf(window));
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    case WM_PAINT:
      if (const PictureBox* box = StateOf(window)) {
        Paint(window, *box);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 0;  // painted whole on WM_PAINT
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace vantorel
