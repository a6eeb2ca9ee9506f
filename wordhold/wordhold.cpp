// The exported functions of the language library.
#include "wordhold.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "catalog.h"

namespace wordhold {
namespace {

// Variables naming the user's language, most specific first.
constexpr const char* kLanguageVariables[] = {"PPHATCH_LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES",
                                              "LANG"};

// The two-letter code of the user's language, lower case; nothing when the
// deciding variable does not start with two letters ("C", "POSIX"). Only
// letters pass, so the code is safe to put into a file name.
std::optional<std::string> UserLanguage() {
  for (const char* name : kLanguageVariables) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    std::string code;
    for (int i = 0; i < 2; ++i) {
      const char c = value[i];
      if (c >= 'A' && c <= 'Z') {
        code += static_cast<char>(c - 'A' + 'a');
      } else if (c >= 'a' && c <= 'z') {
        code += c;
      } else {
        return std::nullopt;
      }
    }
    return code;
  }
  return std::nullopt;
}

// The directory holding the catalogs.
std::string CatalogDirectory() {
  const char* dir = std::getenv("PPHATCH_WORDHOLD_CATALOGS");
  if (dir != nullptr && *dir != '\0') return dir;
  return WORDHOLD_CATALOG_DIR;
}

// A copy of the text on the C heap, for the caller to release.
char* CopyOut(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace
}  // namespace wordhold

// Looks the message up in the catalog of the user's language.
extern "C" char* LoadLangBSTRString(const char* moduleName, std::int32_t id,
                                    std::int32_t /*reserved*/) {
  try {
    if (moduleName == nullptr) return nullptr;
    const std::optional<std::string> language = wordhold::UserLanguage();
    if (!language) return nullptr;
    const std::string file = wordhold::CatalogDirectory() + "/" + *language + ".txt";
    const std::optional<std::string> text = wordhold::FindInCatalog(file, moduleName, id);
    return text ? wordhold::CopyOut(*text) : nullptr;
  } catch (...) {
    return nullptr;  // no exception crosses the C interface
  }
}

// Releases a text handed out above.
extern "C" void FreeLangBSTRString(char* text) { std::free(text); }
