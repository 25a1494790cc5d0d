// Counts every operator new in the process, so that a benchmark can show
// the calculation path allocates nothing.
#pragma once

long AllocationCount();
