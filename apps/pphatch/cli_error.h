// Exit statuses of the tool and the error that ends it with status 2.
#pragma once

#include <stdexcept>

namespace pphatch::cli {

/// Every pick found an area.
inline constexpr int kExitAllFound = 0;
/// At least one pick found no area.
inline constexpr int kExitSomeFailed = 1;
/// A usage error, or an input or output file that cannot be used.
inline constexpr int kExitUsage = 2;

/// A usage error or an unusable file; the message names the file and the
/// problem, and the tool ends with kExitUsage.
class CliError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace pphatch::cli
