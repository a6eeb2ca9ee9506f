// Errors of the drawing readers and writers.
#pragma once

#include <stdexcept>
#include <string>

namespace pphatch::formats {

/// A drawing file that cannot be read. The message names the file and what
/// is wrong, with the line where that is known: "plan.dxf: line 812: ...".
class ReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// A result or drawing file that cannot be written; the message names it.
class WriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// "name: line N: what", or "name: what" when the line is not known (0).
std::string Located(const std::string& name, int line, const std::string& what);

/// ReadError "name: is a directory" when the path names one.
void RefuseDirectory(const std::string& path);
/// ReadError "name: cannot open: REASON", the reason from errno when set.
ReadError CannotOpen(const std::string& path);

/// The whole content of a file; ReadError "name: cannot open: REASON" (the
/// system's reason) when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace pphatch::formats
