#include "program.h"

#include "main_window.h"

namespace vantorel {
namespace {

constexpr char kCannotCreateWindow[] =  // 无法创建主窗口。
    "\xCE\xDE\xB7\xA8\xB4\xB4\xBD\xA8\xD6\xF7\xB4\xB0\xBF\xDA\xA1\xA3";

}  // namespace

int RunProgram(HINSTANCE instance, std::span<const ControlRecord> controls,
               DesktopServices& services) {
  MainWindow window(controls, services);
  if (!window.Create(instance)) {
    services.ShowErrorMessage(kCannotCreateWindow);
    return -1;
  }
  return RunMessageLoop(window);
}

}  // namespace vantorel
