// The per-user registry file in which the component is registered.
#pragma once

#include <string>
#include <vector>

namespace pphatch {

/// One registered component: its name, class id and library path.
struct RegistryEntry {
  std::string name;
  std::string classId;
  std::string libraryPath;
};

/// The registry file: $PPHATCH_REGISTRY, else $XDG_CONFIG_HOME/pphatch/registry,
/// else $HOME/.config/pphatch/registry.
std::string RegistryFilePath();

/// The entries of the registry file (none when it does not exist).
std::vector<RegistryEntry> ReadRegistry(const std::string& path);

/// Replaces the entry with the same class id (or adds it); false when the
/// file cannot be written.
bool RegisterEntry(const std::string& path, const RegistryEntry& entry);

/// Removes the entry with that class id; false when the file cannot be written.
bool UnregisterEntry(const std::string& path, const std::string& classId);

}  // namespace pphatch
