#include "design_reads.h"

namespace notchwell {
namespace {

// Every input DesignInputs holds, in its order: an input added there and
// not here fails the size check below, and so cannot escape SameFor.
struct EveryInput {
  double r_ohms, c_farads, fo_hertz;
  int choices[kPanelListCount];
  double source_ohms, load_ohms;
  bool measured;
  PositionValues measured_parts;
  OpAmp custom_opamp;
  double noise_signal_volts;  // read by the figures alone, worked out on every update
  const MeasuredSweep* sweep;
  unsigned sweep_generation;
  TuneRound round;
};
static_assert(sizeof(DesignInputs) == sizeof(EveryInput), "SameFor compares every input of DesignInputs");

bool SameOpAmp(const OpAmp& o, const OpAmp& p) {
  return o.gbw_hertz == p.gbw_hertz && o.gain_db == p.gain_db && o.slew_volts_per_us == p.slew_volts_per_us &&
         o.noise_volts == p.noise_volts && o.noise_amps == p.noise_amps;
}

}  // namespace

bool SameFor(const DesignInputs& a, const DesignInputs& b, Reads reads) {
  for (int i = 0; i < kPanelListCount; ++i) {
    const PanelList list = static_cast<PanelList>(i);
    if ((reads.lists & ListBit(list)) && ChosenIndex(a.choices, list) != ChosenIndex(b.choices, list)) return false;
  }
  const PositionValues &m = a.measured_parts, &n = b.measured_parts;
  const TuneRound &r = a.round, &s = b.round;
  if (reads.sweep && (a.sweep != b.sweep || a.sweep_generation != b.sweep_generation || r.given != s.given ||
                      r.fo_hertz != s.fo_hertz || r.notch_hertz != s.notch_hertz || r.reject_db != s.reject_db)) {
    return false;
  }
  return a.r_ohms == b.r_ohms && a.c_farads == b.c_farads && a.fo_hertz == b.fo_hertz &&
         a.source_ohms == b.source_ohms && a.load_ohms == b.load_ohms &&
         (!reads.measured_parts || (a.measured == b.measured && m.r1 == n.r1 && m.r2 == n.r2 && m.r3 == n.r3 &&
                                    m.c1 == n.c1 && m.c2 == n.c2 && m.c3 == n.c3)) &&
         (!reads.custom_opamp || SameOpAmp(a.custom_opamp, b.custom_opamp));
}

}  // namespace notchwell
