// The component's own message texts: menu texts, prompts and the failure
// message, in English. Used when the language library has no translation.
#pragma once

#include <optional>
#include <string_view>

namespace pphatch {

/// The first and last id of the string table.
inline constexpr int kFirstStringId = 101;
inline constexpr int kLastStringId = 117;

/// The id of "Operation can not be performed with these objects.".
inline constexpr int kOperationFailedId = 107;

/// The English text of a message id, or nothing for an id not in the table.
std::optional<std::string_view> StringTableText(int id);

}  // namespace pphatch
