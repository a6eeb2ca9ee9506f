// The language library: translated message texts of the components of a
// CAD program, looked up by module name and message id.
//
// Translations live in catalogs, one text file per language, named by the
// two-letter language code (de.txt, fr.txt, ...), UTF-8. Each line is
//   <module name> <id> <text>
// where the text is the rest of the line after the one blank or tab that
// follows the id, taken as it stands (inner blanks included). Blank lines
// and lines starting with '#' are skipped; the first line for a module and
// id wins.
//
// The language is the first two letters of the first of the environment
// variables PPHATCH_LANG, LANGUAGE, LC_ALL, LC_MESSAGES and LANG that is set
// and not empty ("de_DE.UTF-8" -> "de"). The catalogs are read from the
// directory named by PPHATCH_WORDHOLD_CATALOGS, else from the one the
// library was built with. Both are read at every call.
#pragma once

#include <cstdint>

#if defined(__GNUC__)
#define WORDHOLD_EXPORT __attribute__((visibility("default")))
#else
#define WORDHOLD_EXPORT
#endif

extern "C" {

/// The text of message `id` of module `moduleName` (compared exactly) in
/// the user's language, as a NUL-terminated UTF-8 text that the caller
/// releases with FreeLangBSTRString. nullptr when there is no such text:
/// unknown language, module or id, a missing or unreadable catalog, an
/// empty translation, or a null module name. `reserved` is ignored.
WORDHOLD_EXPORT char* LoadLangBSTRString(const char* moduleName, std::int32_t id,
                                         std::int32_t reserved);

/// Releases a text returned by LoadLangBSTRString; nullptr is allowed.
WORDHOLD_EXPORT void FreeLangBSTRString(char* text);
}
