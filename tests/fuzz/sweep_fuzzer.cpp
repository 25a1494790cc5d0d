// Fuzzes a measured sweep's reading and the trims it gives. The first
// byte picks the build it is taken to be of (bit 0 active at Q = 10, bit 1
// a 600 ohm source, bit 2 a 10 kOhm load, bit 3 TL072s in the active
// form); the rest is the sweep's text. Every text gets one clear outcome:
// a problem with its message and no points, or points that rise and are
// finite; and what a sweep's fit gives is finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "followers.h"
#include "op_amps.h"
#include "sweep_text.h"
#include "sweep_tuning.h"

using namespace notchwell;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool Finite(double value) { return std::isfinite(value); }

MeasuredSweep g_sweep;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t build = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const SweepReading reading = ReadSweepText(text, g_sweep);
  Check(reading.problem >= SweepProblem::None && reading.problem < SweepProblem::Count);
  char message[256];
  SweepProblemText(reading, message, sizeof message);
  Check((message[0] == '\0') == (reading.problem == SweepProblem::None));
  if (reading.problem != SweepProblem::None) return 0;
  Check(g_sweep.count == 0 || (g_sweep.count >= kFewestSweepPoints && g_sweep.count <= kMostSweepPoints));
  for (int i = 0; i < g_sweep.count; ++i) {
    Check(g_sweep.hertz[i] > 0 && Finite(g_sweep.hertz[i]) && Finite(g_sweep.level_db[i]) &&
          Finite(g_sweep.degrees[i]));
    Check(i == 0 || g_sweep.hertz[i] > g_sweep.hertz[i - 1]);
  }
  if (g_sweep.count == 0) return 0;

  const bool active = build & 1;
  const FollowerOpAmps opamps = active && (build & 8) ? FollowersOf(kOpAmps.options[2].figures) : FollowerOpAmps{0, 0};
  const SweepModel model{{33e3, 33e3, 16.5e3, 100e-9, 100e-9, 200e-9},
                         build & 2 ? 600.0 : 0.0,
                         build & 4 ? 10e3 : 0.0,
                         active,
                         active ? 0.975 : 0,
                         opamps,
                         0.01,
                         0.05};
  const TuneResult t = TuneFromSweep(g_sweep, model, 48.2288, {false, 0, 0, 0});
  Check(Finite(t.fit_rms_db) && Finite(t.noise_db));
  if (t.outcome != TuneOutcome::Tuned) return 0;
  Check(Finite(t.notch_hertz) && Finite(t.depth_db) && Finite(t.reject_db));
  Check(!t.trim.found || (Finite(t.trim.r1) && Finite(t.trim.r3) && Finite(t.trim.r1_change_percent) &&
                          Finite(t.trim.r3_change_percent)));
  Check(!t.alternative ||
        (Finite(t.alternative_trim.r1_change_percent) && Finite(t.alternative_trim.r3_change_percent)));
  return 0;
}
