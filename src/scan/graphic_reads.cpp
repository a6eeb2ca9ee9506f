// Small host reads shared by the drawing scan.
#include "scan/graphic_reads.h"

#include <cstdio>

#include "component/property_value.h"

namespace pphatch {

// The graphic's type-name text.
std::string TypeOf(const HostGraphicPtr& graphic) { return Must(graphic)->Type(); }

// Number of child graphics.
int ChildCount(const HostGraphicPtr& graphic) { return Must(Must(graphic)->Graphics())->Count(); }

// Child graphic at `index`; a child that the host reports as nothing fails.
HostGraphicPtr ChildAt(const HostGraphicPtr& graphic, int index) {
  if (index < 0) throw HostError("child index out of range");
  return Must(Must(Must(graphic)->Graphics())->Item(index));
}

// Number of vertices of the graphic's chain.
int VertexCount(const HostGraphicPtr& graphic) { return Must(Must(graphic)->Vertices())->Count(); }

// The named property as a text.
std::string PropertyText(const HostGraphicPtr& graphic, const std::string& name) {
  const PropertyValue value = Must(Must(Must(graphic)->Properties())->Item(name))->Value(0);
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  char spelled[32];
  std::snprintf(spelled, sizeof spelled, "%.15g", std::get<double>(value));
  return spelled;
}

// The named property as a number.
double PropertyNumberOf(const HostGraphicPtr& graphic, const std::string& name) {
  return PropertyNumber(Must(Must(Must(graphic)->Properties())->Item(name))->Value(0));
}

}  // namespace pphatch
