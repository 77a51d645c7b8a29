// Measures Vantorel.exe against the floor program under the same desktop, in alternating paired
// runs after a warm-up: start to ready, exit after WM_CLOSE, memory after start-up, the cost of a
// full repaint, and the cost of repainting a corner of the banner against the whole banner.
//
//   bench.exe <rounds> <exe> <children> [<exe> <children> ...]
//
// The first program is the one measured, the second the floor the ratios are taken against;
// <children> is how many visible child windows a program's window has once it is ready.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../ui/controls.h"

namespace {

constexpr int kRepaints = 300;

double Now() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / ticksPerMs;
}

struct Subject {
  std::wstring path;
  int children;  // visible child windows of its window once it is ready
};

struct Run {
  double startMs = 0;
  double exitMs = 0;
  double peakWorkingSetKiB = 0;
  double privateKiB = 0;
  double repaintMs = 0;
  double cornerMs = 0;
  double bannerMs = 0;
};

struct Search {
  DWORD thread;
  HWND found;
};

// The visible top-level window of the program's main thread.
BOOL CALLBACK Match(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<Search*>(lParam);
  if (GetWindowThreadProcessId(window, nullptr) == search.thread && IsWindowVisible(window)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CountVisible(HWND child, LPARAM count) {
  if (IsWindowVisible(child)) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int VisibleChildren(HWND window) {
  int count = 0;
  EnumChildWindows(window, CountVisible, reinterpret_cast<LPARAM>(&count));
  return count;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The median time of `repaint`, called many times over.
template <typename Repaint>
double MedianTime(Repaint repaint) {
  std::vector<double> times;
  for (int i = 0; i < kRepaints; ++i) {
    const double start = Now();
    repaint();
    times.push_back(Now() - start);
  }
  return Median(times);
}

bool Measure(const Subject& subject, Run& run) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + subject.path + L"\"";

  const double start = Now();
  if (!CreateProcessW(subject.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    std::fprintf(stderr, "cannot start %ls\n", subject.path.c_str());
    return false;
  }
  WaitForInputIdle(process.hProcess, 10000);
  Search search{process.dwThreadId, nullptr};
  for (;;) {
    search.found = nullptr;
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr && VisibleChildren(search.found) == subject.children) break;
    if (Now() - start > 10000) {
      std::fprintf(stderr, "%ls did not become ready\n", subject.path.c_str());
      TerminateProcess(process.hProcess, 1);
      return false;
    }
    Sleep(0);
  }
  run.startMs = Now() - start;
  HWND window = search.found;

  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  K32GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                          sizeof memory);
  run.peakWorkingSetKiB = static_cast<double>(memory.PeakWorkingSetSize) / 1024;
  // Windows reports committed private memory in both fields; Wine only in PagefileUsage.
  run.privateKiB = static_cast<double>(std::max(memory.PrivateUsage, memory.PagefileUsage)) / 1024;

  run.repaintMs = MedianTime([&] {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  });
  if (HWND banner = GetDlgItem(window, vantorel::标签4)) {
    const RECT corner{0, 0, 10, 10};
    run.cornerMs =
        MedianTime([&] { RedrawWindow(banner, &corner, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
    run.bannerMs =
        MedianTime([&] { RedrawWindow(banner, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
  }

  const double closing = Now();
  PostMessageW(window, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 10000);
  run.exitMs = Now() - closing;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

struct Column {
  const char* name;
  double Run::*field;
  const char* unit;
};

double MedianOf(const std::vector<Run>& runs, double Run::*field) {
  std::vector<double> values;
  for (const Run& run : runs) values.push_back(run.*field);
  return Median(values);
}

void PrintCell(const std::vector<Run>& runs, double Run::*field) {
  std::vector<double> values;
  for (const Run& run : runs) values.push_back(run.*field);
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  std::printf(" %9.2f [%9.2f - %9.2f] |", Median(values), *low, *high);
}

// A window of the banner's size whose painting does nothing but BeginPaint and EndPaint: what
// any repaint costs before a pixel is drawn.
LRESULT CALLBACK EmptyPaintProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcW(window, message, wParam, lParam);
}

struct CornerAndWhole {
  double cornerMs;
  double wholeMs;
};

CornerAndWhole TimeCornerAndWhole(HWND window) {
  const RECT corner{0, 0, 10, 10};
  std::vector<double> cornerTimes, wholeTimes;
  for (int round = 0; round < 5; ++round) {
    cornerTimes.push_back(MedianTime(
        [&] { RedrawWindow(window, &corner, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }));
    wholeTimes.push_back(MedianTime(
        [&] { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }));
  }
  return {Median(cornerTimes), Median(wholeTimes)};
}

// The banner's own repaint cost, without the trip between processes: the program's real
// banner control, made in this process from the program's own control table, next to a window
// of the same size that paints nothing.
void MeasureBannerInProcess() {
  using namespace vantorel;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const ControlRecord* record = nullptr;
  for (const ControlRecord& r : kMainWindowControls) {
    if (r.id == 标签4) record = &r;
  }
  WNDCLASSW host{};
  host.lpfnWndProc = DefWindowProcW;
  host.hInstance = instance;
  host.lpszClassName = L"BenchHost";
  WNDCLASSW empty = host;
  empty.lpfnWndProc = EmptyPaintProc;
  empty.lpszClassName = L"BenchEmptyPaint";
  if (record == nullptr || !RegisterControlClasses(instance) || !RegisterClassW(&host) ||
      !RegisterClassW(&empty)) {
    return;
  }
  HWND window = CreateWindowExW(0, L"BenchHost", L"bench", WS_CAPTION | WS_CLIPCHILDREN, 450, 50,
                                380, 253, nullptr, nullptr, instance, nullptr);
  HWND banner = CreateControl(window, *record);
  const RECT& r = record->rect;
  HWND blank =
      CreateWindowExW(0, L"BenchEmptyPaint", L"", WS_CHILD | WS_VISIBLE, r.left, r.bottom + 10,
                      r.right - r.left, r.bottom - r.top, window, nullptr, instance, nullptr);
  ShowWindow(banner, SW_SHOWNA);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);

  const CornerAndWhole painted = TimeCornerAndWhole(banner);
  const CornerAndWhole nothing = TimeCornerAndWhole(blank);
  std::printf(
      "banner repaint in-process: 10 x 10 corner %.4f ms, whole banner %.4f ms, "
      "ratio %.3f\n",
      painted.cornerMs, painted.wholeMs, painted.cornerMs / painted.wholeMs);
  std::printf("  a window of that size painting nothing: corner %.4f ms, whole %.4f ms\n",
              nothing.cornerMs, nothing.wholeMs);
  const double cornerWork = painted.cornerMs - nothing.cornerMs;
  const double wholeWork = painted.wholeMs - nothing.wholeMs;
  std::printf("  the banner's own work: corner %.4f ms, whole %.4f ms, ratio %.3f\n", cornerWork,
              wholeWork, cornerWork / wholeWork);
  DestroyWindow(window);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || (argc - 2) % 2 != 0) {
    std::fprintf(stderr,
                 "usage: bench <pairs> <exe> <children> [<exe> <children> ...]\n"
                 "  the first exe is the program, the second the floor\n");
    return 2;
  }
  const int rounds = _wtoi(argv[1]);
  std::vector<Subject> subjects;
  for (int i = 2; i + 1 < argc; i += 2) subjects.push_back({argv[i], _wtoi(argv[i + 1])});

  Run ignored;
  for (int i = 0; i < 2; ++i) {  // warm-up: file cache, Wine's own start-up
    for (const Subject& subject : subjects) {
      if (!Measure(subject, ignored)) return 1;
    }
  }
  std::vector<std::vector<Run>> runs(subjects.size());
  std::vector<double> startRatios;
  for (int round = 0; round < rounds; ++round) {
    // Each round starts with a different program, so that none always follows another.
    std::vector<Run> results(subjects.size());
    for (std::size_t k = 0; k < subjects.size(); ++k) {
      const std::size_t i = (k + static_cast<std::size_t>(round)) % subjects.size();
      if (!Measure(subjects[i], results[i])) return 1;
    }
    for (std::size_t i = 0; i < subjects.size(); ++i) runs[i].push_back(results[i]);
    if (subjects.size() > 1) startRatios.push_back(results[0].startMs / results[1].startMs);
  }

  const Column columns[] = {
      {"start to ready (ms)", &Run::startMs, "ms"},
      {"exit after WM_CLOSE (ms)", &Run::exitMs, "ms"},
      {"peak working set (KiB)", &Run::peakWorkingSetKiB, "KiB"},
      {"private bytes (KiB)", &Run::privateKiB, "KiB"},
      {"full repaint (ms)", &Run::repaintMs, "ms"},
      {"banner corner (ms)", &Run::cornerMs, "ms"},
      {"whole banner (ms)", &Run::bannerMs, "ms"},
  };
  std::printf("%d rounds after 2 warm-up rounds; median [min - max]; ratio = first / second\n\n",
              rounds);
  std::printf("%-25s |", "");
  for (const Subject& subject : subjects) {
    const std::size_t slash = subject.path.find_last_of(L"\\/");
    std::printf(" %-33ls |", subject.path.substr(slash + 1).c_str());
  }
  std::printf(" ratio\n");
  for (const Column& column : columns) {
    std::printf("%-25s |", column.name);
    for (const std::vector<Run>& subjectRuns : runs) PrintCell(subjectRuns, column.field);
    const double floorMedian = runs.size() > 1 ? MedianOf(runs[1], column.field) : 0;
    if (floorMedian > 0) std::printf(" %5.2f", MedianOf(runs[0], column.field) / floorMedian);
    std::printf("\n");
  }
  if (!startRatios.empty()) {
    std::printf("\nstart to ready, median of the paired ratios first / second: %.3f\n",
                Median(startRatios));
  }
  const double corner = MedianOf(runs[0], &Run::cornerMs);
  const double banner = MedianOf(runs[0], &Run::bannerMs);
  if (banner > 0) {
    std::printf("banner repaint across processes: corner / whole = %.3f\n", corner / banner);
  }
  MeasureBannerInProcess();
  return 0;
}
