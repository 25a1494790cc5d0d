// The phase of Vout/Vs and its group delay, -d(phase)/d(omega).
#pragma once

#include "transfer_function.h"

namespace notchwell {

struct PhaseAndDelay {
  double degrees;  // in (-180, 180]
  double delay_seconds;
};

// At an exact null the phase turns by 180 degrees at once: the delay
// there is that of everything but the null, the only finite value.
PhaseAndDelay PhaseAndDelayAt(const TransferFunction& h, double hertz);

}  // namespace notchwell
