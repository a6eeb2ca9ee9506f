#include "formats/dxf_record.h"

namespace pphatch::formats {

std::size_t NextRecordStart(const DxfPairs& pairs, std::size_t index, std::size_t end) {
  ++index;
  while (index < end && pairs.Code(index) != 0) ++index;
  return index;
}

std::optional<DxfPair> DxfRecord::Find(int code) const {
  if (!MayHold(code)) return std::nullopt;
  for (std::size_t i = begin_ + 1; i < end_; ++i) {
    if (pairs_->Code(i) == code) return (*pairs_)[i];
  }
  return std::nullopt;
}

double DxfRecord::Real(int code, double fallback) const {
  const std::optional<DxfPair> pair = Find(code);
  return pair ? PairReal(*pair) : fallback;
}

long long DxfRecord::Integer(int code, long long fallback) const {
  const std::optional<DxfPair> pair = Find(code);
  return pair ? PairInteger(*pair) : fallback;
}

std::string DxfRecord::Text(int code, const std::string& fallback) const {
  const std::optional<DxfPair> pair = Find(code);
  return pair ? std::string(pair->value) : fallback;
}

mem::Vec3 DxfRecord::Point(int xCode, mem::Vec3 fallback) const {
  // One pass finds the first pair of each of the three codes.
  double* const coordinates[3] = {&fallback.x, &fallback.y, &fallback.z};
  bool wanted[3] = {MayHold(xCode), MayHold(xCode + 10), MayHold(xCode + 20)};
  int left = wanted[0] + wanted[1] + wanted[2];
  for (std::size_t i = begin_ + 1; i < end_ && left > 0; ++i) {
    const int offset = pairs_->Code(i) - xCode;
    if (offset < 0 || offset > 20 || offset % 10 != 0 || !wanted[offset / 10]) continue;
    const int axis = offset / 10;
    *coordinates[axis] = PairReal((*pairs_)[i]);
    wanted[axis] = false;
    --left;
  }
  return fallback;
}

std::vector<double> DxfRecord::Reals(int code) const {
  std::vector<double> values;
  for (std::size_t i = begin_ + 1; i < end_; ++i) {
    if (pairs_->Code(i) == code) values.push_back(PairReal((*pairs_)[i]));
  }
  return values;
}

std::vector<mem::Vec3> DxfRecord::Points(int xCode) const {
  std::vector<mem::Vec3> points;
  for (std::size_t i = begin_ + 1; i < end_; ++i) {
    const int pairCode = pairs_->Code(i);
    if (pairCode != xCode && pairCode != xCode + 10 && pairCode != xCode + 20) continue;
    const DxfPair pair = (*pairs_)[i];
    if (pair.code == xCode) {
      points.push_back({PairReal(pair), 0, 0});
    } else if (!points.empty() && pair.code == xCode + 10) {
      points.back().y = PairReal(pair);
    } else if (!points.empty() && pair.code == xCode + 20) {
      points.back().z = PairReal(pair);
    }
  }
  return points;
}

bool DxfCursor::At(int code) const { return !Done() && record_.CodeAt(at_) == code; }

int DxfCursor::PeekCodeAfterNext() const {
  return at_ + 1 < record_.End() ? record_.CodeAt(at_ + 1) : -999;
}

DxfPair DxfCursor::Take(int code) {
  if (!At(code)) {
    throw DxfLayoutError{Place(),
                         "expected group code " + std::to_string(code) +
                             (Done() ? std::string(" at the end of the entity")
                                     : ", found " + std::to_string(record_.CodeAt(at_)))};
  }
  return record_.Pair(at_++);
}

double DxfCursor::TakeReal(int code) { return PairReal(Take(code)); }

long long DxfCursor::TakeInteger(int code) { return PairInteger(Take(code)); }

void DxfCursor::Skip() {
  if (!Done()) ++at_;
}

long long DxfCursor::Place() const {
  return Done() ? record_.Pair(record_.End() - 1).place : record_.Pair(at_).place;
}

}  // namespace pphatch::formats
