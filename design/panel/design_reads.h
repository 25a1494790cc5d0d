// What each part of the design report reads of the inputs, so that an
// update works out again only the parts whose inputs changed.
#pragma once

#include "design_report.h"

namespace notchwell {

constexpr unsigned ListBit(PanelList list) { return 1u << static_cast<int>(list); }

// What a part of the report reads of the inputs besides the form's values,
// the source and the load, which every part reads: the lists (a mask of
// list bits), the measured parts, the custom op-amp, the measured sweep
// and the round before it.
struct Reads {
  unsigned lists;
  bool measured_parts;
  bool custom_opamp;
  bool sweep;
};

constexpr unsigned kAllLists = (1u << kPanelListCount) - 1;
constexpr unsigned kFeedbackLists =
    ListBit(PanelList::Network) | ListBit(PanelList::OpAmp) | ListBit(PanelList::ResistorSeries);
constexpr Reads kIdealReads = {ListBit(PanelList::Network), false, false, false};
// The nearest build, the exact values' and the best pair's builds.
constexpr Reads kBuildReads = {kFeedbackLists | ListBit(PanelList::CapacitorSeries), false, true, false};
// The nearest build's tolerances, trimmers and drift.
constexpr Reads kSpreadReads = {kBuildReads.lists | ListBit(PanelList::ResistorTolerance) |
                                    ListBit(PanelList::CapacitorTolerance) | ListBit(PanelList::ResistorTempco) |
                                    ListBit(PanelList::CapacitorTempco) | ListBit(PanelList::TemperatureRange),
                                false, true, false};
constexpr Reads kMeasuredReads = {kFeedbackLists, true, true, false};
constexpr Reads kOpAmpReads = {kFeedbackLists, false, true, false};
// A sweep's fit reads the build it was measured on, and how far its parts
// may be off.
constexpr Reads kTuneReads = {kBuildReads.lists | ListBit(PanelList::TuneBuilt) |
                                  ListBit(PanelList::ResistorTolerance) | ListBit(PanelList::CapacitorTolerance),
                              true, true, true};
// The nearest build's noise, over the band chosen.
constexpr Reads kNoiseReads = {kBuildReads.lists | ListBit(PanelList::NoiseBand), false, true, false};
constexpr unsigned kBandList = ListBit(PanelList::RejectBand), kViewList = ListBit(PanelList::PlotView);
constexpr Reads kAllBut(unsigned lists) { return {kAllLists & ~lists, true, true, true}; }

// Whether two states of the inputs are the same in what `reads` names:
// field by field, the inputs' padding never being written.
bool SameFor(const DesignInputs& a, const DesignInputs& b, Reads reads);

}  // namespace notchwell
