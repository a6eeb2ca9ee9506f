// Conversion of host property values (a number or a text) to numbers.
#include "component/property_value.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "geometry/checked_math.h"

namespace pphatch {
namespace {

// The text without the blanks, tabs and line ends around it.
std::string_view Trimmed(std::string_view text) {
  constexpr std::string_view kBlank = " \t\r\n";
  const auto first = text.find_first_not_of(kBlank);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlank);
  return text.substr(first, last - first + 1);
}

// A decimal number written as the whole text; "inf", "nan" and hex are no numbers.
double ParseNumber(const std::string& original) {
  std::string_view text = Trimmed(original);
  // from_chars takes a minus sign but no plus sign.
  const bool plus = !text.empty() && text.front() == '+';
  if (plus) text.remove_prefix(1);
  if (text.empty() || (plus && text.front() == '-')) {
    throw HostError("property value is not a number: \"" + original + "\"");
  }
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) throw ComputeError("overflow");
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) {
    throw HostError("property value is not a number: \"" + original + "\"");
  }
  return value;
}

// Rounds to the nearest integer, a half to the even one, independent of the
// floating-point environment.
double RoundHalfEven(double v) {
  double r = std::floor(v);
  const double fraction = v - r;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(r, 2.0) != 0.0)) r += 1.0;
  return r;
}

}  // namespace

// A number as it is, or the number a text spells.
double PropertyNumber(const PropertyValue& value) {
  if (const double* number = std::get_if<double>(&value)) return *number;
  return ParseNumber(std::get<std::string>(value));
}

// The value rounded half-to-even and checked against the 32-bit range.
int PropertyInt32(const PropertyValue& value) {
  const double r = RoundHalfEven(CheckedFinite(PropertyNumber(value)));
  if (r < static_cast<double>(std::numeric_limits<int>::min()) ||
      r > static_cast<double>(std::numeric_limits<int>::max())) {
    throw ComputeError("overflow");
  }
  return static_cast<int>(r);
}

}  // namespace pphatch
