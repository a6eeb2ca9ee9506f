// Message lookup: the language library first, the own string table after.
// MessageText itself is declared in the public header.
#pragma once

#include <string>

namespace pphatch {

/// File name of the language library.
inline constexpr const char* kLanguageLibraryFile = "libwordhold.so";

/// Makes MessageText load the language library from exactly this file; an
/// empty path turns the library off, so only the string table answers.
/// Process-wide; for tests and tools.
void SetLanguageLibraryPath(std::string path);

/// Restores the usual search for the language library: the directory named
/// by PPHATCH_WORDHOLD_DIR, then the directory of the component's own
/// binary, then the system's library search.
void ResetLanguageLibraryPath();

}  // namespace pphatch
