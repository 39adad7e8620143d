// The message/partial reader: the messages of type message/partial in an input (a mailbox,
// a news spool, inputs joined into one), collected by their id in any order, and the
// message that the parts of one id enclose, joined into a temporary file that the decoder
// then reads as an input of its own.
#pragma once
#include <string>
#include <vector>

#include "core/platform.h"
#include "decode/used_regions.h"

// Looks for "message/partial", in any case as a header may write it, in text that comes
// block by block, across the seams of the blocks.
class PartialWordSearch {
 public:
  void Feed(const unsigned char* block, size_t n);
  bool Found() const { return found_; }

 private:
  enum { KEPT_ROOM = 14 };  // the word's length - 1: the end of the text that may start it
  unsigned char kept_[KEPT_ROOM] = {};
  size_t keptCount_ = 0;
  bool found_ = false;
};

class PartialMessages {
 public:
  PartialMessages() = default;
  PartialMessages(const PartialMessages&) = delete;
  PartialMessages& operator=(const PartialMessages&) = delete;
  ~PartialMessages() { DeleteFiles(); }

  // Reads the input once from its start: the body of every part goes to a temporary file,
  // and every message/partial message (its header and body) to `used`, so that the other
  // passes leave it alone. The input is left at its start. RESULT_DONE, RESULT_CANCELLED,
  // or RESULT_REPORTED when a temporary file could not be written (told).
  int Collect(HWND window, int input, UsedRegions& used);
  bool Any() const { return !ids_.empty(); }
  size_t Count() const { return ids_.size(); }
  // Joins the parts of the id at `index` into a new temporary file, `path` (PATH_ROOM):
  // the header fields of the first part's message and of the enclosed message, combined as
  // the reassembly of message/partial does, then the enclosed message's body. RESULT_DONE,
  // or RESULT_REPORTED when parts are missing or the file could not be written (told).
  int Join(HWND window, size_t index, char* path);
  // Deletes every part file (the joined files are their callers').
  void DeleteFiles();

 private:
  struct Id {
    std::string id;
    int total = 0;             // the largest total stated; 0 = not known (only the last part must state it)
    int highest = 0;           // the largest part number seen
    bool outOfRange = false;   // a number or total beyond what a posting may have
    std::string outerHeader;   // the header fields of part 1's own message
    std::vector<std::string> partFiles;  // by part number - 1; empty = not seen
  };
  friend class PartialScan;
  std::vector<Id> ids_;
};
