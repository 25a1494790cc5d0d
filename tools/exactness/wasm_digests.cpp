// The digests of verify_exactness, taken from the web edition's core
// module: a WASI program run by tools/exactness/run-wasm-digests.mjs under
// node, which hands it the module's exports as the imports below. Prints
// the same digest lines as verify_exactness, for a line-by-line compare.
//
//   wasm_digests [--texts N] [--forms N] [--every K]
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "conversion_inputs.h"

#define CORE_IMPORT(name) __attribute__((import_module("notchwell"), import_name(name)))

extern "C" {
CORE_IMPORT("format_result") int CoreFormatResult(std::uint32_t bits, char* text);
CORE_IMPORT("parse_number_text") int CoreParseNumberText(const char* text, int length, std::uint32_t* bits);
CORE_IMPORT("evaluate_form")
int CoreEvaluateForm(int mode, int r_unit, int c_unit, int f_unit, const char* r, const char* c, const char* f,
                     int* field, char* text);
}

namespace {

using exactness::Digest;

void Parse(std::uint64_t texts) {
  std::vector<Digest> inputs(exactness::kParseChunks), results(exactness::kParseChunks);
  const std::uint64_t per_chunk = (texts + exactness::kParseChunks - 1) / exactness::kParseChunks;
  for (int c = 0; c < exactness::kParseChunks; ++c) {
    std::mt19937 rng = exactness::ChunkGenerator(c);
    for (std::uint64_t i = 0; i < per_chunk; ++i) {
      const std::string text = exactness::GeneratedText(rng);
      std::uint32_t bits = 0;
      const bool ok = CoreParseNumberText(text.data(), static_cast<int>(text.size()), &bits) != 0;
      inputs[c].Add(text.data(), text.size() + 1);
      results[c].AddParse(ok, ok ? bits : 0);
    }
  }
  Digest all_inputs, all_results;
  for (int c = 0; c < exactness::kParseChunks; ++c) {
    all_inputs.Add(inputs[c].h);
    all_results.Add(results[c].h);
  }
  const std::uint64_t total = per_chunk * exactness::kParseChunks;
  std::printf("parse inputs digest: %016" PRIx64 " over %" PRIu64 " texts\n", all_inputs.h, total);
  std::printf("parse digest: %016" PRIx64 " over %" PRIu64 " texts\n", all_results.h, total);
}

void Evaluate(const exactness::FormInput& form, Digest& outcomes) {
  int field = 0;
  char text[64] = {};
  const int kind = CoreEvaluateForm(form.mode, form.units[0], form.units[1], form.units[2], form.texts[0].c_str(),
                                    form.texts[1].c_str(), form.texts[2].c_str(), &field, text);
  outcomes.AddOutcome(kind, field, text);
}

void Forms(std::uint64_t forms) {
  Digest all;
  const std::uint64_t per_chunk = (forms + exactness::kFormChunks - 1) / exactness::kFormChunks;
  for (int c = 0; c < exactness::kFormChunks; ++c) {
    std::mt19937 rng = exactness::FormChunkGenerator(c);
    Digest outcomes;
    for (std::uint64_t i = 0; i < per_chunk; ++i) Evaluate(exactness::RandomForm(rng), outcomes);
    all.Add(outcomes.h);
  }
  std::printf("form digest: %016" PRIx64 " over %" PRIu64 " forms\n", all.h, per_chunk * exactness::kFormChunks);
  Digest midpoints;
  for (int i = 0; i < exactness::kMidpointFormCount; ++i) Evaluate(exactness::MidpointForm(i), midpoints);
  std::printf("midpoint form digest: %016" PRIx64 " over %d forms\n", midpoints.h, exactness::kMidpointFormCount);
}

void Format(int every) {
  const int chunks = exactness::kFormatChunks / every;
  Digest all;
  for (int c = 0; c < chunks; ++c) {
    Digest d;
    const std::uint32_t first = static_cast<std::uint32_t>(c * every) << 24;
    for (std::uint32_t i = 0; i < (1u << 24); ++i) {
      char text[64];
      const int length = CoreFormatResult(first + i, text);
      d.Add(text, static_cast<std::size_t>(length) + 1);
    }
    all.Add(d.h);
  }
  std::printf("format digest: %016" PRIx64 " over %" PRIu64 " bit patterns\n", all.h,
              static_cast<std::uint64_t>(chunks) << 24);
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t texts = 100000000;
  std::uint64_t forms = 10000000;
  int every = 1;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--texts") {
      texts = std::strtoull(argv[i + 1], nullptr, 10);
    } else if (arg == "--forms") {
      forms = std::strtoull(argv[i + 1], nullptr, 10);
    } else if (arg == "--every") {
      every = std::atoi(argv[i + 1]);
    } else {
      std::fprintf(stderr, "usage: wasm_digests [--texts N] [--forms N] [--every K]\n");
      return 2;
    }
  }
  if (every < 1 || every > exactness::kFormatChunks) every = 1;
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  Parse(texts);
  Forms(forms);
  Format(every);
  return 0;
}
