// The program from start to end: its window, the message loop and the exit code.
#pragma once

#include <windows.h>

#include <span>

#include "../platform/desktop_services.h"
#include "controls.h"

namespace vantorel {

// Shows the window on `controls` and runs it until it is closed; returns the exit code: 0 after
// a close, -1 when the window could not be created (the user is told so first).
int RunProgram(HINSTANCE instance, std::span<const ControlRecord> controls,
               DesktopServices& services);

}  // namespace vantorel
