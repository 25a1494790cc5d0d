#include "build_netlist.h"

namespace notchwell {

void WriteBuildNetlist(const DesignInputs& inputs, const DesignReport& report, NetlistText& out) {
  if (!Holds(report, Section::Build)) return;
  const NearestResult& n = report.nearest;
  const Feedback& f = report.feedback;
  const TwinTCircuit build{BalancedParts(n.r, n.c),
                           inputs.source_ohms,
                           inputs.load_ohms,
                           f.active,
                           f.k_build,
                           f.active ? f.followers : FollowerOpAmps{0, 0}};
  const NetlistOpAmp amp{f.opamp, kOpAmps.options[ChosenIndex(inputs.choices, PanelList::OpAmp)].parts};
  WriteSpiceNetlist(build, {f.divider.found, f.divider.top, f.divider.bottom}, amp, true, inputs.fo_hertz, out);
}

}  // namespace notchwell
