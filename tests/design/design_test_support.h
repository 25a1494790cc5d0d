// What the design code's tests build their cases from: networks of equal
// parts, passive or active, and the panel's inputs with its defaults.
#pragma once

#include <gtest/gtest.h>

#include "active_feedback.h"
#include "design_choices.h"
#include "design_report.h"
#include "twin_t_circuit.h"

namespace notchwell {

inline TwinTCircuit Passive(double r, double c, double source = 0, double load = 0) {
  return {BalancedParts(r, c), source, load, false, 0};
}

// 10 kOhm and 10 nF, bootstrapped for a Q.
inline TwinTCircuit Active(double q, double source = 0, double load = 0) {
  return {BalancedParts(10e3, 10e-9), source, load, true, FeedbackForQ(q)};
}

inline DesignInputs Inputs(double r, double c, double fo, double source = 0, double load = 0) {
  DesignInputs inputs{r, c, fo, {}, source, load, false, {}};
  for (int i = 0; i < kPanelListCount; ++i) inputs.choices[i] = kPanelLists[i].default_index;
  return inputs;
}

inline double Figured(const DesignReport& report, Figure figure) {
  EXPECT_TRUE(report.available[static_cast<int>(figure)]) << InfoOf(figure).name;
  return report.values[static_cast<int>(figure)];
}

}  // namespace notchwell
