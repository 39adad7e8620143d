#include "decode/used_regions.h"

#include <algorithm>

void UsedRegions::Clear() {
  ranges_.clear();
  kept_ = 0;
}

void UsedRegions::Note(long long start, long long end, bool used) {
  if (!used || end <= start) return;
  // A pass reads forward: a region that meets the last one of this pass extends it.
  if (ranges_.size() > kept_ && ranges_.back().second == start) {
    ranges_.back().second = end;
    return;
  }
  ranges_.emplace_back(start, end);
}

void UsedRegions::Keep() {
  std::sort(ranges_.begin(), ranges_.end());
  std::vector<std::pair<long long, long long>> merged;
  for (const auto& r : ranges_) {
    if (!merged.empty() && r.first <= merged.back().second) merged.back().second = std::max(merged.back().second, r.second);
    else merged.push_back(r);
  }
  ranges_.swap(merged);
  kept_ = ranges_.size();
}

void UsedRegions::DropUnkept() { ranges_.resize(kept_); }

bool UsedRegions::Contains(long long offset) const {
  const auto end = ranges_.begin() + static_cast<std::ptrdiff_t>(kept_);
  // The first kept region that starts after `offset`; the one before it may hold it.
  const auto after = std::upper_bound(ranges_.begin(), end, offset,
                                      [](long long value, const auto& region) { return value < region.first; });
  return after != ranges_.begin() && offset < (after - 1)->second;
}
