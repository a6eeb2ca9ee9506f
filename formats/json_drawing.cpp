#include "formats/json_drawing.h"

#include <algorithm>

#include "formats/json_read.h"

namespace pphatch::formats {

namespace {

// "line L, column C: what" from a parse error's byte offset into the text.
std::string SyntaxMessage(const std::string& text, const Json::parse_error& e) {
  int line = 1, column = 1;
  const std::size_t end = std::min<std::size_t>(e.byte > 0 ? e.byte - 1 : 0, text.size());
  for (std::size_t i = 0; i < end; ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  std::string what = e.what();
  // nlohmann's message repeats the position after its own prefix; keep the rest.
  const std::size_t cut = what.find(": ", what.find("column"));
  if (what.find("column") != std::string::npos && cut != std::string::npos)
    what = what.substr(cut + 2);
  return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what;
}

}  // namespace

LoadedDrawing ReadJsonFile(const std::string& path) {
  return ReadJsonText(ReadWholeFile(path), path);
}

LoadedDrawing ReadJsonText(const std::string& text, const std::string& name) {
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
    throw ReadError(Located(name, 0, "the file is empty"));
  }
  Json root;
  try {
    root = Json::parse(text);
  } catch (const Json::parse_error& e) {
    throw ReadError(name + ": " + SyntaxMessage(text, e));
  } catch (const Json::exception& e) {
    // The parser reports a number too large for a double ("1e400") as out
    // of range; keep its words without the exception's id.
    const std::string what = e.what();
    const std::size_t cut = what.find("] ");
    throw ReadError(name + ": " + (cut == std::string::npos ? what : what.substr(cut + 2)));
  }
  try {
    auto drawing = ReadJsonDrawing(root);
    LoadSummary summary = Summarize(*drawing);
    return {drawing, std::move(summary)};
  } catch (const JsonContentError& e) {
    throw ReadError(name + ": " + e.path + ": " + e.what);
  } catch (const HostError& e) {
    throw ReadError(name + ": " + e.what());
  }
}

}  // namespace pphatch::formats
