// Heap use of the running program, measured by a counting global operator
// new. Linked into a benchmark program, it sees every C++ allocation of its
// one thread.
#pragma once

#include <cstddef>

namespace pphatch::bench {

/// Measures the most heap held at any moment between its construction and
/// Peak(), above what was held at construction.
class PeakHeap {
 public:
  PeakHeap();
  /// Highest heap use since construction, minus the use at construction.
  std::size_t Peak() const;

 private:
  std::size_t base_;
};

}  // namespace pphatch::bench
