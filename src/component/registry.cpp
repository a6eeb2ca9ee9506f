// The registry file: one line per component, "name<TAB>class id<TAB>path".
#include "component/registry.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pphatch {
namespace {

/// Writes the entries to a temporary file beside `path` and renames it over
/// `path`, so that a failed write never leaves half a registry.
bool WriteRegistry(const std::string& path, const std::vector<RegistryEntry>& entries) {
  std::error_code error;
  const std::filesystem::path file(path);
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), error);
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    if (!out) return false;
    for (const RegistryEntry& e : entries) {
      out << e.name << '\t' << e.classId << '\t' << e.libraryPath << '\n';
    }
    if (!out.flush()) return false;
  }
  std::filesystem::rename(temporary, file, error);
  return !error;
}

}  // namespace

std::string RegistryFilePath() {
  if (const char* explicitPath = std::getenv("PPHATCH_REGISTRY"); explicitPath && *explicitPath) {
    return explicitPath;
  }
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
    return std::string(config) + "/pphatch/registry";
  }
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.config/pphatch/registry";
}

std::vector<RegistryEntry> ReadRegistry(const std::string& path) {
  std::vector<RegistryEntry> entries;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    RegistryEntry e;
    if (std::getline(fields, e.name, '\t') && std::getline(fields, e.classId, '\t') &&
        std::getline(fields, e.libraryPath)) {
      entries.push_back(e);
    }
  }
  return entries;
}

bool RegisterEntry(const std::string& path, const RegistryEntry& entry) {
  std::vector<RegistryEntry> entries = ReadRegistry(path);
  std::erase_if(entries, [&](const RegistryEntry& e) { return e.classId == entry.classId; });
  entries.push_back(entry);
  return WriteRegistry(path, entries);
}

bool UnregisterEntry(const std::string& path, const std::string& classId) {
  std::vector<RegistryEntry> entries = ReadRegistry(path);
  std::erase_if(entries, [&](const RegistryEntry& e) { return e.classId == classId; });
  return WriteRegistry(path, entries);
}

}  // namespace pphatch
