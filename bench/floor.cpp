// The floor Vantorel is measured against: the least a Win32 window program can be. One class,
// one 380 x 253 window painted white, one message loop; built with the program's compiler,
// flags and static linking.
//
// Built a second time with FLOOR_COMMON_CONTROLS and Vantorel's manifest: the least a program
// can be that uses Common Controls 6, as Vantorel must.
#include <windows.h>
#ifdef FLOOR_COMMON_CONTROLS
#include <commctrl.h>
#endif

namespace {

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = FloorWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = L"VantorelFloor";
  if (RegisterClassW(&windowClass) == 0) return -1;
  HWND window = CreateWindowExW(0, L"VantorelFloor", L"Floor", WS_CAPTION | WS_SYSMENU, 50, 50, 380,
                                253, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return -1;
#ifdef FLOOR_COMMON_CONTROLS
  InitCommonControls();
#endif
  ShowWindow(window, SW_SHOW);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
