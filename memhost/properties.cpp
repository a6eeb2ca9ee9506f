#include "memhost/properties.h"

#include <algorithm>
#include <utility>

namespace pphatch::mem {

namespace {

// Room for the properties of a graphic, reserved with the first one.
constexpr std::size_t kUsualProperties = 4;

}  // namespace

void PropertyTable::Define(const std::string& name, PropertyValue value) {
  if (cells_.empty()) cells_.reserve(kUsualProperties);
  const auto it = std::lower_bound(
      cells_.begin(), cells_.end(), name,
      [](const auto& cell, const std::string& key) { return cell.first < key; });
  if (it != cells_.end() && it->first == name) {
    *it->second = std::move(value);
    return;
  }
  cells_.emplace(it, name, std::make_shared<PropertyValue>(std::move(value)));
}

std::optional<PropertyValue> PropertyTable::Get(const std::string& name) const {
  const auto cell = Cell(name);
  if (!cell) return std::nullopt;
  return *cell;
}

std::string PropertyTable::Text(const std::string& name) const {
  const auto cell = Cell(name);
  if (!cell) return {};
  const auto* text = std::get_if<std::string>(cell.get());
  return text ? *text : std::string();
}

std::shared_ptr<PropertyValue> PropertyTable::Cell(const std::string& name) const {
  for (const auto& [key, cell] : cells_) {
    if (key == name) return cell;
  }
  return nullptr;
}

PropertyTable PropertyTable::Clone() const {
  PropertyTable copy;
  for (const auto& [name, cell] : cells_) copy.Define(name, *cell);
  return copy;
}

MemProperties::MemProperties(std::shared_ptr<PropertyTable> table,
                             std::shared_ptr<FaultInjector> faults, int ownerId)
    : table_(std::move(table)), faults_(std::move(faults)), ownerId_(ownerId) {}

HostPropertyPtr MemProperties::Item(const std::string& name) {
  faults_->Enter("HostProperties.Item", ownerId_);
  auto cell = table_->Cell(name);
  if (!cell) throw HostError("no property named \"" + name + "\"");
  return std::make_shared<MemProperty>(std::move(cell), faults_, ownerId_);
}

MemProperty::MemProperty(std::shared_ptr<PropertyValue> cell,
                         std::shared_ptr<FaultInjector> faults, int ownerId)
    : cell_(std::move(cell)), faults_(std::move(faults)), ownerId_(ownerId) {}

PropertyValue MemProperty::Value(int index) {
  faults_->Enter("HostProperty.Value", ownerId_);
  if (index != 0) throw HostError("property index out of range");
  return *cell_;
}

void MemProperty::SetValue(const PropertyValue& value, int index) {
  faults_->Enter("HostProperty.SetValue", ownerId_);
  if (index != 0) throw HostError("property index out of range");
  *cell_ = value;
}

}  // namespace pphatch::mem
