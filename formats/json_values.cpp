#include "formats/json_values.h"

#include <cmath>

#include "formats/nearest_name.h"

namespace pphatch::formats {

void JsonFail(const std::string& path, const std::string& what) {
  throw JsonContentError{path.empty() ? "/" : path, what};
}

std::string Below(const std::string& path, const std::string& key) {
  std::string escaped;
  for (const char c : key) {
    if (c == '~')
      escaped += "~0";
    else if (c == '/')
      escaped += "~1";
    else
      escaped += c;
  }
  return path + "/" + escaped;
}

std::string Below(const std::string& path, std::size_t index) {
  return path + "/" + std::to_string(index);
}

void CheckKeys(const Json& j, const std::string& path, const std::vector<std::string>& allowed) {
  if (!j.is_object()) JsonFail(path, "expected an object");
  for (const auto& item : j.items()) {
    const std::string& key = item.key();
    if (!key.empty() && key[0] == '_') continue;
    bool known = false;
    for (const std::string& a : allowed) known = known || key == a;
    if (known) continue;
    const auto nearest = NearestName(key, allowed);
    JsonFail(Below(path, key),
             "unknown key '" + key + "'" + (nearest ? "; did you mean " + *nearest + "?" : ""));
  }
}

const Json& Member(const Json& j, const std::string& path, const char* key) {
  if (!j.is_object()) JsonFail(path, "expected an object");
  const auto found = j.find(key);
  if (found == j.end()) JsonFail(path, std::string("missing '") + key + "'");
  return *found;
}

double Number(const Json& j, const std::string& path) {
  if (!j.is_number()) JsonFail(path, "expected a number");
  const double value = j.get<double>();
  if (!std::isfinite(value)) JsonFail(path, "expected a finite number");
  return value;
}

std::string Text(const Json& j, const std::string& path) {
  if (!j.is_string()) JsonFail(path, "expected a text");
  return j.get<std::string>();
}

bool Flag(const Json& j, const std::string& path) {
  if (!j.is_boolean()) JsonFail(path, "expected true or false");
  return j.get<bool>();
}

const Json& Array(const Json& j, const std::string& path) {
  if (!j.is_array()) JsonFail(path, "expected an array");
  return j;
}

mem::Vec2 Point(const Json& j, const std::string& path) {
  if (!j.is_array() || j.size() != 2) JsonFail(path, "expected a point [x, y]");
  return {Number(j[0], Below(path, 0)), Number(j[1], Below(path, 1))};
}

mem::Vec3 Point3(const Json& j, const std::string& path) {
  if (!j.is_array() || j.size() < 2 || j.size() > 3)
    JsonFail(path, "expected a point [x, y] or [x, y, z]");
  return {Number(j[0], Below(path, 0)), Number(j[1], Below(path, 1)),
          j.size() == 3 ? Number(j[2], Below(path, 2)) : 0.0};
}

std::vector<mem::Vec2> Points(const Json& j, const std::string& path) {
  std::vector<mem::Vec2> points;
  for (std::size_t i = 0; i < Array(j, path).size(); ++i)
    points.push_back(Point(j[i], Below(path, i)));
  return points;
}

double NumberOr(const Json& j, const std::string& path, const char* key, double fallback) {
  const auto found = j.find(key);
  return found == j.end() ? fallback : Number(*found, Below(path, key));
}

bool FlagOr(const Json& j, const std::string& path, const char* key, bool fallback) {
  const auto found = j.find(key);
  return found == j.end() ? fallback : Flag(*found, Below(path, key));
}

std::string TextOr(const Json& j, const std::string& path, const char* key,
                   const std::string& fallback) {
  const auto found = j.find(key);
  return found == j.end() ? fallback : Text(*found, Below(path, key));
}

}  // namespace pphatch::formats
