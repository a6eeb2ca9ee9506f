// Reading typed values out of a JSON drawing, each fault named by its JSON path.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "memhost/vec.h"

namespace pphatch::formats {

/// Objects keep the order of their keys, so blocks are defined in file order.
using Json = nlohmann::ordered_json;

/// A value of a JSON drawing that does not fit the format, at a JSON path
/// ("/graphics/3/vertices/2").
struct JsonContentError {
  std::string path;
  std::string what;
};

/// Throws JsonContentError at that path ("/" for the document itself).
[[noreturn]] void JsonFail(const std::string& path, const std::string& what);

/// The path of a member or an element below `path`.
std::string Below(const std::string& path, const std::string& key);
std::string Below(const std::string& path, std::size_t index);

/// Throws JsonContentError unless `j` is an object whose keys are all in
/// `allowed`; keys that start with "_" are comments and always allowed.
void CheckKeys(const Json& j, const std::string& path, const std::vector<std::string>& allowed);

/// The member, which must be there.
const Json& Member(const Json& j, const std::string& path, const char* key);

double Number(const Json& j, const std::string& path);
std::string Text(const Json& j, const std::string& path);
bool Flag(const Json& j, const std::string& path);
/// An array of values.
const Json& Array(const Json& j, const std::string& path);
/// A point [x, y].
mem::Vec2 Point(const Json& j, const std::string& path);
/// A point [x, y, z] (z may be left out).
mem::Vec3 Point3(const Json& j, const std::string& path);
/// An array of points [x, y].
std::vector<mem::Vec2> Points(const Json& j, const std::string& path);

/// The member's number, or `fallback` when there is no such member.
double NumberOr(const Json& j, const std::string& path, const char* key, double fallback);
bool FlagOr(const Json& j, const std::string& path, const char* key, bool fallback);
std::string TextOr(const Json& j, const std::string& path, const char* key,
                   const std::string& fallback);

}  // namespace pphatch::formats
