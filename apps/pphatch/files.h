// Input and output files as the user names them: "-" for the standard
// streams, the output format from the file's extension, and the system's
// reason when a file cannot be opened.
#pragma once

#include <fstream>
#include <string>
#include <vector>

namespace pphatch::cli {

/// The name that stands for standard input or standard output.
inline constexpr const char* kStandardStream = "-";

/// The text of the system's last error ("No such file or directory").
std::string SystemReason();

/// The output format for --format (any case; "jsonl" is "json") or, when
/// that is empty, for the extension of `output` (.jsonl is json): one of
/// `formats`, the first of them for any other extension and for standard
/// output.
std::string OutputFormat(const std::string& formatOption, const std::string& output,
                         const std::vector<std::string>& formats = {"json", "svg", "dxf"});

/// CliError "refusing to overwrite the input drawing; choose another -o"
/// when `output` is the file `input` (by path or as the same file on disk);
/// `what` names the input ("the input drawing", "the points file").
void RefuseToOverwrite(const std::string& output, const std::string& input,
                       const std::string& what = "the input drawing");

/// Opens `path` for writing; CliError "PATH: cannot open for writing: REASON".
std::ofstream OpenForWriting(const std::string& path);

}  // namespace pphatch::cli
