// The inputs every benchmark of the core uses, natively and as
// WebAssembly, so that their figures can stand side by side.
#pragma once

namespace bench {

inline constexpr const char* kTexts[] = {"10", "1591.549438", "0.1", "15915.494141", "4.7", "220", "1e3", "0.015915"};
inline constexpr int kTextCount = sizeof kTexts / sizeof kTexts[0];
inline constexpr float kValues[] = {1591.5494384765625f, 0.1f, 15915.494140625f, 0.0159154939f, 123.456f, 1e20f,
                                    159154.9375f,        10.0f};
inline constexpr int kValueCount = sizeof kValues / sizeof kValues[0];

}  // namespace bench
