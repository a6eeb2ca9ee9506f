// Fault injection and call counting for the in-memory host.
//
// Every interface method of the host calls FaultInjector::Enter with its
// operation name ("HostGraphic.IgnoreFlag", "HostView.PickPoint", ...: the
// interface name and the method name of include/pphatch/host.h) and, for
// calls that belong to one graphic (its own methods, its vertices, its
// properties, its child list), that graphic's ID; other calls pass 0.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace pphatch::mem {

/// One rule that makes matching host calls throw HostError.
/// By default it fails every matching call.
class FaultRule {
 public:
  explicit FaultRule(std::string operation);

  /// Only calls that belong to the graphic with this ID match.
  FaultRule& ForGraphic(int id);
  /// The first `successes` matching calls succeed; failures start after them.
  FaultRule& After(int successes);
  /// Fail `failures` matching calls, then let them succeed again.
  FaultRule& Times(int failures);

  /// True when a call of `operation` on `graphicId` is one this rule watches.
  bool Matches(std::string_view operation, int graphicId) const;
  /// Counts one matching call; true when that call must fail.
  bool Trip();
  /// Number of calls this rule has made fail.
  int Fired() const { return fired_; }

 private:
  std::string operation_;  ///< exact name, or a prefix ending in '*'
  std::optional<int> graphic_;
  int skip_ = 0;
  int times_ = -1;  ///< -1: no limit
  int seen_ = 0;
  int fired_ = 0;
};

/// The fault rules and call counters of one drawing and everything in it.
class FaultInjector {
 public:
  /// Adds a rule for an operation name ("HostGraphic.IgnoreFlag"); a name
  /// ending in '*' matches every operation with that prefix ("HostVertex.*",
  /// "*"). The reference stays valid until ClearFaults.
  FaultRule& Fail(std::string operation);
  /// Removes every rule.
  void ClearFaults();

  /// Entry check of a host call: counts it and throws HostError when a rule
  /// says so. `operation` is a string literal: every host call comes here,
  /// so its counter is found by the literal's address, not by its text.
  void Enter(const char* operation, int graphicId = 0);

  /// Number of calls of that operation since the last ResetCounts.
  long Calls(std::string_view operation) const;
  /// Number of host calls of any operation since the last ResetCounts.
  long TotalCalls() const { return total_; }
  /// Sets every counter to zero.
  void ResetCounts();

 private:
  // Hashes names and views of names alike, so that counting a call looks
  // its name up without making a string of it.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };

  std::deque<FaultRule> rules_;
  // Counters by name. Nodes never move, and ResetCounts zeroes them rather
  // than removing them, so the pointers in byAddress_ stay valid.
  std::unordered_map<std::string, long, NameHash, std::equal_to<>> calls_;
  // The counter of each operation literal seen so far, by its address.
  std::unordered_map<const char*, long*> byAddress_;
  // The last literals seen, by a few bits of their address: a request makes
  // thousands of host calls of a few dozen kinds, and most of them find
  // their counter here without a search.
  struct RecentCall {
    const char* operation = nullptr;
    long* counter = nullptr;
  };
  static constexpr std::size_t kRecentSlots = 64;
  std::array<RecentCall, kRecentSlots> recent_{};
  long total_ = 0;
};

}  // namespace pphatch::mem
