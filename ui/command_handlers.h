// What the three buttons do. Each handler reads what it needs from the window's two edit boxes
// at the moment it runs; nothing is kept between clicks.
#pragma once

#include <windows.h>

#include <span>

#include "../platform/desktop_services.h"

namespace vantorel {

class CommandHandlers {
 public:
  CommandHandlers(HWND mainWindow, DesktopServices& services)
      : window_(mainWindow), services_(services) {}

  // 分析: checks the code box and, for a good code, shows the address in the address box.
  void OnAnalyzeClicked();
  // 复制: puts the address box's text on the clipboard.
  void OnCopyClicked();
  // The help button: opens the help page in the browser.
  void OnHelpClicked();

 private:
  HWND window_;
  DesktopServices& services_;
};

// Which handler a click on which button runs.
struct ClickBinding {
  int controlId;
  void (CommandHandlers::*handler)();
};
extern const std::span<const ClickBinding> kClickBindings;

}  // namespace vantorel
