// Reading host property values as numbers.
#pragma once

#include "pphatch/host.h"

namespace pphatch {

/// The number a property value holds: a number as it is; a text holding a
/// decimal number (blanks around it allowed, such as " 2.5") converted.
/// Any other text raises HostError; a number too large for a double raises
/// ComputeError.
double PropertyNumber(const PropertyValue& value);

/// PropertyNumber rounded to a 32-bit integer, a half to the even neighbour
/// (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), whatever the floating-point rounding
/// mode. A result outside the 32-bit range raises ComputeError.
int PropertyInt32(const PropertyValue& value);

}  // namespace pphatch
