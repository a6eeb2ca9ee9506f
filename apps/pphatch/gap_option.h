// The --gap option, as pick, rooms and view take it.
#pragma once

#include <CLI/CLI.hpp>
#include <cmath>
#include <string>

namespace pphatch::cli {

/// Adds --gap G (drawing units, not below 0) to the command.
inline void AddGapOption(CLI::App& command, double& gap) {
  command
      .add_option("--gap", gap,
                  "Close gaps up to G drawing units: a line end that stops short of another "
                  "graphic by at most G is bridged to it (default 0)")
      ->check(CLI::Validator(
          [](std::string& text) {
            double value = 0;
            const bool read = CLI::detail::lexical_cast(text, value);
            return read && value >= 0 && std::isfinite(value)
                       ? std::string()
                       : "the gap is a distance in drawing units, 0 or more, not " + text;
          },
          "G >= 0"))
      ->type_name("G");
}

}  // namespace pphatch::cli
