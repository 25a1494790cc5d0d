// Start-up and OK-press times of the real notchwell.exe under the running
// Windows (or Wine), beside a minimal one-dialog program built with it,
// and the size of the program file beside the minimal one.
//
//   startup_bench NOTCHWELL.EXE MINIMAL.EXE [RUNS] [RELEASED.EXE]
//
// RELEASED.EXE, when given, is the file whose size is reported (the 32-bit
// release, where the timings come from another build).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "control_ids.h"
#include "dialog_driver.h"

namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Summary {
  double median, low, high;
};

Summary Summarise(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return {samples[samples.size() / 2], samples.front(), samples.back()};
}

// Process creation to the dialog being visible, in milliseconds.
Summary StartUp(const std::string& exe, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double start = Now();
    driver::Program p = driver::Start(exe);
    const double shown = Now();
    if (!p.dialog) {
      std::fprintf(stderr, "%s: no dialog\n", exe.c_str());
      std::exit(1);
    }
    times.push_back((shown - start) * 1000.0);
    PostMessageW(p.dialog, WM_CLOSE, 0, 0);
    driver::WaitForExit(p);
    driver::Stop(p);
  }
  return Summarise(times);
}

// One OK press, from the posted command to the result text, in ms.
Summary OkPress(const std::string& exe, int presses) {
  driver::Program p = driver::Start(exe);
  HWND fo = driver::Control(p, IDC_FREQUENCY);
  driver::Click(p, IDC_SOLVE_FO);
  driver::SetText(driver::Control(p, IDC_RESISTANCE), L"10");
  driver::SetText(driver::Control(p, IDC_CAPACITANCE), L"10");
  std::vector<double> times;
  for (int i = 0; i < presses; ++i) {
    driver::SetText(fo, L"");
    const double start = Now();
    PostMessageW(p.dialog, WM_COMMAND, IDOK, 0);
    while (driver::Text(fo).empty()) {
    }
    times.push_back((Now() - start) * 1000.0);
  }
  PostMessageW(p.dialog, WM_CLOSE, 0, 0);
  driver::WaitForExit(p);
  driver::Stop(p);
  return Summarise(times);
}

// The same cross-process path with nothing calculated: a posted marker
// and a busy wait for its effect, as the OK press above waits for its text.
Summary RoundTrip(const std::string& exe, int rounds) {
  driver::Program p = driver::Start(exe);
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const double start = Now();
    driver::PostMarkerAndWait(p, true);
    times.push_back((Now() - start) * 1000.0);
  }
  PostMessageW(p.dialog, WM_CLOSE, 0, 0);
  driver::WaitForExit(p);
  driver::Stop(p);
  return Summarise(times);
}

// The dialog's own cost of one OK press: a burst of posted presses with a
// marker behind them, less a marker alone, divided by the burst length.
// The round trip that dominates a single press is paid once per burst.
Summary OkPressInBurst(const std::string& exe, int bursts, int presses) {
  driver::Program p = driver::Start(exe);
  driver::Click(p, IDC_SOLVE_FO);
  driver::SetText(driver::Control(p, IDC_RESISTANCE), L"10");
  driver::SetText(driver::Control(p, IDC_CAPACITANCE), L"10");
  std::vector<double> times;
  for (int i = 0; i < bursts; ++i) {
    double start = Now();
    driver::PostMarkerAndWait(p, true);
    const double alone = Now() - start;
    start = Now();
    for (int k = 0; k < presses; ++k) PostMessageW(p.dialog, WM_COMMAND, IDOK, 0);
    driver::PostMarkerAndWait(p, true);
    const double burst = Now() - start;
    times.push_back(std::max(0.0, burst - alone) * 1000.0 / presses);
  }
  PostMessageW(p.dialog, WM_CLOSE, 0, 0);
  driver::WaitForExit(p);
  driver::Stop(p);
  return Summarise(times);
}

long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return static_cast<long>(data.nFileSizeLow);
}

void Row(const char* what, const Summary& s, const std::string& goal) {
  std::printf("%-34s %9.3f %9.3f %9.3f   %s\n", what, s.median, s.low, s.high, goal.c_str());
}

const char* Verdict(bool met) { return met ? "met" : "NOT MET"; }

// Start-up may cost at most this much more than the minimal dialog's.
constexpr double kStartUpAllowanceMs = 100.0;
constexpr double kOkPressGoalMs = 1.0;
constexpr long kSizeGoal = 51200;

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench NOTCHWELL.EXE MINIMAL.EXE [RUNS] [RELEASED.EXE]\n");
    return 2;
  }
  const std::string notchwell = driver::WindowsPath(argv[1]);
  const std::string minimal = driver::WindowsPath(argv[2]);
  const int runs = argc > 3 ? std::atoi(argv[3]) : 10;

  std::printf("%-34s %9s %9s %9s\n", "ms (median, min, max)", "median", "min", "max");
  const Summary started = StartUp(notchwell, runs);
  const Summary baseline = StartUp(minimal, runs);
  char goal[96];
  std::snprintf(goal, sizeof goal, "goal <= baseline + %.0f ms: %s", kStartUpAllowanceMs,
                Verdict(started.median <= baseline.median + kStartUpAllowanceMs));
  Row("start to visible: notchwell.exe", started, goal);
  Row("start to visible: minimal dialog", baseline, "(baseline)");
  Row("OK press to result text", OkPress(notchwell, 200), "(includes the round trip below)");
  Row("posted no-op to its effect", RoundTrip(notchwell, 200), "(baseline: the driver's own cost)");
  const Summary own = OkPressInBurst(notchwell, 50, 100);
  std::snprintf(goal, sizeof goal, "goal < %.0f ms (dialog's own cost): %s", kOkPressGoalMs,
                Verdict(own.median < kOkPressGoalMs));
  Row("OK press, in bursts of 100", own, goal);
  std::printf("\n");
  const std::string released = argc > 4 ? driver::WindowsPath(argv[4]) : notchwell;
  const long size = FileSize(released);
  std::printf("%-34s %9ld bytes   goal <= %ld: %s\n", "notchwell.exe", size, kSizeGoal,
              Verdict(size > 0 && size <= kSizeGoal));
  std::printf("%-34s %9ld bytes   (baseline)\n", "minimal dialog", FileSize(minimal));
  return 0;
}
