// Named properties of a graphic or of a drawing.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "memhost/fault_injector.h"
#include "pphatch/host.h"

namespace pphatch::mem {

/// The property values of one owner, by name. Each value lives in a cell of
/// its own, so a HostProperty handed out earlier sees later writes.
class PropertyTable {
 public:
  /// Creates the property or overwrites its value.
  void Define(const std::string& name, PropertyValue value);
  /// The value of that property, if there is one.
  std::optional<PropertyValue> Get(const std::string& name) const;
  /// The value as text; empty when missing or a number.
  std::string Text(const std::string& name) const;
  /// The cell of that property, or null.
  std::shared_ptr<PropertyValue> Cell(const std::string& name) const;
  /// Every property, sorted by name.
  const std::vector<std::pair<std::string, std::shared_ptr<PropertyValue>>>& All() const {
    return cells_;
  }
  /// A table with copies of every value (new cells).
  PropertyTable Clone() const;

 private:
  // A graphic has three or four properties, and every graphic the host
  // makes fills a table: a short sorted vector costs one allocation where a
  // map costs one per property, and finds a name as fast.
  std::vector<std::pair<std::string, std::shared_ptr<PropertyValue>>> cells_;
};

/// HostProperties over a table; `ownerId` is the graphic's ID (0 for the drawing).
class MemProperties : public HostProperties {
 public:
  MemProperties(std::shared_ptr<PropertyTable> table, std::shared_ptr<FaultInjector> faults,
                int ownerId);
  /// The property of that name; HostError when the owner has none.
  HostPropertyPtr Item(const std::string& name) override;

 private:
  std::shared_ptr<PropertyTable> table_;
  std::shared_ptr<FaultInjector> faults_;
  int ownerId_;
};

/// One property; only index 0 exists.
class MemProperty : public HostProperty {
 public:
  MemProperty(std::shared_ptr<PropertyValue> cell, std::shared_ptr<FaultInjector> faults,
              int ownerId);
  PropertyValue Value(int index = 0) override;
  void SetValue(const PropertyValue& value, int index = 0) override;

 private:
  std::shared_ptr<PropertyValue> cell_;
  std::shared_ptr<FaultInjector> faults_;
  int ownerId_;
};

}  // namespace pphatch::mem
