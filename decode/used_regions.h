// The byte ranges of an input that the files decoded from it took up. A mailbox may hold
// single files and the parts of a posting side by side; one pass decodes one kind, and the
// next pass over the same input passes over what the earlier passes used.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

class UsedRegions {
 public:
  void Clear();
  // The bytes from `start` to `end` were read; `used` when a file took them up.
  void Note(long long start, long long end, bool used);
  // What was noted so far stays through later passes; Contains answers for it from now on.
  void Keep();
  // Forgets what was noted since the last Keep (a pass that starts again from the top).
  void DropUnkept();
  // Whether the byte at `offset` lies in a kept region.
  bool Contains(long long offset) const;

 private:
  std::vector<std::pair<long long, long long>> ranges_;  // [start, end), kept ones sorted
  size_t kept_ = 0;
};
