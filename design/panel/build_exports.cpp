#include "build_exports.h"

namespace notchwell {

namespace {

TwinTCircuit BuildOf(const DesignInputs& inputs, const DesignReport& report) {
  const NearestResult& n = report.nearest;
  const Feedback& f = report.feedback;
  return {BalancedParts(n.r, n.c),
          inputs.source_ohms,
          inputs.load_ohms,
          f.active,
          f.k_build,
          f.active ? f.followers : FollowerOpAmps{0, 0}};
}

}  // namespace

void WriteBuildNetlist(const DesignInputs& inputs, const DesignReport& report, NetlistText& out) {
  if (!Holds(report, Section::Build)) return;
  const Feedback& f = report.feedback;
  const NetlistOpAmp amp{f.opamp, kOpAmps.options[ChosenIndex(inputs.choices, PanelList::OpAmp)].parts};
  const NoiseBand& band = kNoiseBands.options[ChosenIndex(inputs.choices, PanelList::NoiseBand)];
  const NetlistNoiseBand noise{band.low_hertz, band.high_hertz};
  WriteSpiceNetlist(BuildOf(inputs, report), {f.divider.found, f.divider.top, f.divider.bottom}, amp, true,
                    inputs.fo_hertz, &noise, out);
}

void WriteBuildSchematic(const DesignInputs& inputs, const DesignReport& report, const KicadSheetText& text,
                         NetlistText& out) {
  if (!Holds(report, Section::Build)) return;
  const Feedback& f = report.feedback;
  WriteKicadSchematic(BuildOf(inputs, report), {f.divider.found, f.divider.top, f.divider.bottom}, inputs.fo_hertz,
                      text, out);
}

}  // namespace notchwell
