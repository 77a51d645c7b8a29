// What the program asks of the Windows desktop beyond its own window: an information notice,
// the clipboard and the web browser. The command handlers reach them only through this
// interface, so a window test can record what they asked for instead of blocking in a notice.
#pragma once

#include <string_view>

#include "system_library.h"

namespace vantorel {

class DesktopServices {
 public:
  virtual ~DesktopServices() = default;

  // Shows `text` in a task-modal notice titled "提示" with one OK button; returns when the user
  // has dismissed it.
  virtual void ShowInfoMessage(std::string_view text) = 0;

  // Shows `text` in a notice titled "Vantorel" with the error icon; returns when it has been
  // dismissed. For when the program cannot go on.
  virtual void ShowErrorMessage(std::string_view text) = 0;

  // Puts `text` on the clipboard as CF_TEXT. True when it is there; on false the clipboard
  // keeps what it held before.
  virtual bool SetClipboardText(std::string_view text) = 0;

  // Asks the shell to open `address` in the user's web browser, without waiting for it.
  virtual void OpenUrl(std::string_view address) = 0;
};

// The real desktop. All texts are code page 936 bytes.
class WindowsDesktopServices final : public DesktopServices {
 public:
  WindowsDesktopServices() = default;
  WindowsDesktopServices(const WindowsDesktopServices&) = delete;
  WindowsDesktopServices& operator=(const WindowsDesktopServices&) = delete;
  ~WindowsDesktopServices() override;

  void ShowInfoMessage(std::string_view text) override;
  void ShowErrorMessage(std::string_view text) override;
  bool SetClipboardText(std::string_view text) override;
  void OpenUrl(std::string_view address) override;

 private:
  // The shell and COM are loaded on the first OpenUrl, not at start-up: most runs never open
  // the help page, and the program starts faster and smaller without them.
  struct Shell;
  Shell* shell_ = nullptr;
};

}  // namespace vantorel
