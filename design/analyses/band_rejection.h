// What a network takes off a frequency that wanders about Fo: its least
// rejection over the band Fo (1 - band) to Fo (1 + band).
#pragma once

#include "transfer_function.h"

namespace notchwell {

// The largest |H|^2 in the band. Within some per cent of Fo a twin-T's
// level falls towards its notch from either side, highest at an end; a
// build that rises near Fo instead peaks inside, and the peak is found.
double BandPowerRatio(const TransferFunction& h, double fo_hertz, double band);

}  // namespace notchwell
