// ExtractCurve: chooses the extractor for a host graphic by its type text.
#include "curves/extract.h"

#include <exception>
#include <string>

#include "component/property_value.h"
#include "curves/extractors.h"

namespace pphatch {
namespace {

using Extractor = bool (*)(HostGraphic&, CurveRecord&);

// "TextMode" of an outlined text, whose chain is a child's vertices.
constexpr double kOutlinedTextMode = 3;

// The extractor for this type text, or nullptr when the type is not one
// that bounds an area through its own chain. Reads "TextMode" for texts.
Extractor Choose(const std::string& type, HostGraphic& graphic) {
  if (type == "CIRCLE") return ExtractCircle;
  if (type == "PWW30CURVE") return ExtractCurveGraphic;
  if (type == "GRAPHIC") return ExtractPlainGraphic;
  if (type == "PWW50Polyline") return ExtractPolyline;
  if (type == "ARC") return ExtractArc;
  if (type == "TEXT") {
    const HostPropertiesPtr properties = Present(graphic.Properties(), "properties");
    const HostPropertyPtr mode = Present(properties->Item("TextMode"), "TextMode");
    // A text that is no number fails the comparison like a type mismatch.
    if (PropertyNumber(mode->Value(0)) == kOutlinedTextMode) return ExtractText;
  }
  return nullptr;
}

}  // namespace

// Dispatches to the extractor; every error on the way gives false.
bool ExtractCurve(const HostGraphicPtr& graphic, CurveRecord& record) {
  try {
    if (!graphic) return false;
    const Extractor extractor = Choose(graphic->Type(), *graphic);
    if (extractor == nullptr) return true;
    return extractor(*graphic, record);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace pphatch
