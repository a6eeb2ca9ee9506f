#include "formats/dxf_record.h"

namespace pphatch::formats {

std::size_t NextRecordStart(const DxfPairs& pairs, std::size_t index, std::size_t end) {
  ++index;
  while (index < end && pairs.Code(index) != 0) ++index;
  return index;
}

std::optional<DxfPair> DxfRecord::Find(int code) const {
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
  return {Real(xCode, fallback.x), Real(xCode + 10, fallback.y), Real(xCode + 20, fallback.z)};
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
