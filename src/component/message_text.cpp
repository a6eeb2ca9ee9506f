// Message lookup through the language library, with the string table behind it.
//
// The language library is loaded at run time and exports
//   char* LoadLangBSTRString(const char* moduleName, int32_t id, int32_t reserved)
//   void FreeLangBSTRString(char* text)
// The first returns a NUL-terminated UTF-8 text that the caller releases
// with the second, or nullptr when it has no text for the module and id.
#include "component/message_text.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "component/string_table.h"
#include "pphatch/pick_point_hatch.h"

namespace pphatch {
namespace {

// The module name the library files this component's texts under.
constexpr const char* kModuleName = "PWPPHatch.dll";

using LoadFunction = char* (*)(const char*, std::int32_t, std::int32_t);
using FreeFunction = void (*)(char*);

// Where to look for the library: the usual search, one fixed file, or nowhere.
struct LibraryChoice {
  std::mutex mutex;
  bool search = true;
  std::string path;  // when not searching: the file, or empty for none
};

LibraryChoice& Choice() {
  static LibraryChoice choice;
  return choice;
}

// An object inside this binary, whose address tells dladdr which file we are.
const char kSelfAnchor = 0;

// The directory part of a path, or empty when it has none.
std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The files to try, in order.
std::vector<std::string> Candidates() {
  LibraryChoice& choice = Choice();
  {
    std::lock_guard<std::mutex> lock(choice.mutex);
    if (!choice.search) {
      if (choice.path.empty()) return {};
      return {choice.path};
    }
  }
  std::vector<std::string> files;
  if (const char* dir = std::getenv("PPHATCH_WORDHOLD_DIR"); dir != nullptr && *dir != '\0') {
    files.push_back(std::string(dir) + "/" + kLanguageLibraryFile);
  }
  Dl_info info{};
  if (dladdr(&kSelfAnchor, &info) != 0 && info.dli_fname != nullptr) {
    const std::string dir = DirectoryOf(info.dli_fname);
    if (!dir.empty()) files.push_back(dir + "/" + kLanguageLibraryFile);
  }
  files.emplace_back(kLanguageLibraryFile);  // the system's search
  return files;
}

// A loaded library, closed again when the lookup is over.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(void* handle) : handle_(handle) {}
  ~LoadedLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  void* Symbol(const char* name) const { return dlsym(handle_, name); }

 private:
  void* handle_;
};

// The first candidate that loads, or nullptr.
void* OpenLibrary() {
  for (const std::string& file : Candidates()) {
    if (void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
  }
  return nullptr;
}

// The library's text for the id, or nothing when the library, one of its
// functions or the text is missing.
std::optional<std::string> LibraryText(int id) {
  void* handle = OpenLibrary();
  if (handle == nullptr) return std::nullopt;
  const LoadedLibrary library(handle);
  auto load = reinterpret_cast<LoadFunction>(library.Symbol("LoadLangBSTRString"));
  auto release = reinterpret_cast<FreeFunction>(library.Symbol("FreeLangBSTRString"));
  if (load == nullptr || release == nullptr) return std::nullopt;
  char* text = load(kModuleName, static_cast<std::int32_t>(id), 0);
  if (text == nullptr) return std::nullopt;
  std::optional<std::string> result;
  try {
    result.emplace(text);
  } catch (...) {
    release(text);
    throw;
  }
  release(text);
  return result;
}

}  // namespace

// Makes the lookup use exactly this library file (empty: no library).
void SetLanguageLibraryPath(std::string path) {
  LibraryChoice& choice = Choice();
  std::lock_guard<std::mutex> lock(choice.mutex);
  choice.search = false;
  choice.path = std::move(path);
}

// Makes the lookup search for the library again.
void ResetLanguageLibraryPath() {
  LibraryChoice& choice = Choice();
  std::lock_guard<std::mutex> lock(choice.mutex);
  choice.search = true;
  choice.path.clear();
}

// The translated text, else the string table's, else empty; never throws.
std::string MessageText(int id) {
  try {
    if (std::optional<std::string> text = LibraryText(id)) return std::move(*text);
  } catch (...) {
    // Any failure of the library means the string table answers.
  }
  try {
    if (std::optional<std::string_view> text = StringTableText(id)) return std::string(*text);
  } catch (...) {
  }
  return {};
}

}  // namespace pphatch
