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

namespace {

// The request's clock runs ten times faster than real time and moves on by
// 0.1 ms with every host call, so that a request that makes the search long
// reaches its budget within fuzzing time; 400,000 host calls end any
// request that went on past it.
constexpr pphatch::reliability::RequestClock kClock{10.0, 1e-4, 400000};

}  // namespace

// Answers come from the component's own string table, the same for every run.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pphatch::SetLanguageLibraryPath("");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pphatch::reliability::DecodedRequest request =
      pphatch::reliability::DecodeRequest(data, size);
  const std::string problem =
      pphatch::reliability::RunCheckedRequest(request, kClock).problem;
  if (!problem.empty()) {
    std::fprintf(stderr, "request rule broken: %s (click %.17g, %.17g)\n", problem.c_str(),
                 request.click.x, request.click.y);
    std::abort();
  }
  return 0;
}
