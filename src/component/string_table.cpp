// The component's own message texts, ids 101 to 117.
#include "component/string_table.h"

#include <array>

namespace pphatch {
namespace {

// Texts in id order from kFirstStringId. 104 and 105 carry two blanks where
// the "&" of the neighbouring menu texts would be; they are kept as they are.
constexpr std::array<std::string_view, kLastStringId - kFirstStringId + 1> kTexts = {
    "Format|PickPoint & Hatch",                             // 101
    "Hatch Properties",                                     // 102
    "& PickPoint & Hatch",                                  // 103
    "PickPoint  Hatch",                                     // 104
    "PickPoint  & Hatch",                                   // 105
    "Finish PickPoint & Hatch",                             // 106
    "Operation can not be performed with these objects.",   // 107
    "Pick into area",                                       // 108
    "Click inside closed area",                             // 109
    "Polyline",                                             // 110
    "CIRCLE",                                               // 111
    "ARC",                                                  // 112
    "GRAPHIC",                                              // 113
    "TEXT",                                                 // 114
    "DATA",                                                 // 115
    "Wait ....",                                            // 116
    "One Step Back",                                        // 117
};

}  // namespace

// Looks the id up in the table; ids outside 101..117 have no text.
std::optional<std::string_view> StringTableText(int id) {
  if (id < kFirstStringId || id > kLastStringId) return std::nullopt;
  return kTexts[static_cast<std::size_t>(id - kFirstStringId)];
}

}  // namespace pphatch
