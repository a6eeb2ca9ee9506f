// Fuzz target: a request on a drawing decoded from the input. Every input
// must give an answer that keeps the rules (see checked_request.h); a broken
// rule is reported and stops the fuzzer like a crash.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "component/message_text.h"
#include "fuzz/checked_request.h"
#include "fuzz/drawing_decoder.h"

// Answers come from the component's own string table, the same for every run.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pphatch::SetLanguageLibraryPath("");
  return 0;
}

// One input: decode it, run the request under watch, stop on a broken rule.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pphatch::reliability::DecodedRequest request =
      pphatch::reliability::DecodeRequest(data, size);
  const std::string problem =
      pphatch::reliability::RunCheckedRequest(request, pphatch::reliability::kFuzzClock).problem;
  if (!problem.empty()) {
    std::fprintf(stderr, "request rule broken: %s (click %.17g, %.17g)\n", problem.c_str(),
                 request.click.x, request.click.y);
    std::abort();
  }
  return 0;
}
