// The stream module on real files: line-reading rule, buffer boundaries, blocks, seeks,
// writes and the slot table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/streams.h"
#include "tests/support/test_files.h"

namespace {

// Every case runs with the classic buffer and with the program's larger one: nothing but
// the number of system calls may depend on the size.
class Streams : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    StreamShutdown();  // a table left by other tests would keep its buffer size
    ASSERT_EQ(StreamInitLarge(STREAM_SLOTS, static_cast<DWORD>(bufferSize_)), 0);
  }
  void TearDown() override {
    for (int s : open_) StreamClose(s);
    StreamShutdown();
  }
  const int bufferSize_ = GetParam();

  int OpenWith(const std::string& bytes, int flags) {
    std::string path = dir_.File("in" + std::to_string(files_++) + ".txt");
    WriteWholeFile(path, bytes);
    int s = StreamOpenForReading(path.c_str(), flags);
    EXPECT_GE(s, 0);
    open_.push_back(s);
    return s;
  }

  // Every line the stream gives with `size`, as (count, text) pairs, until 0 or -1.
  std::vector<std::pair<int, std::string>> Lines(int s, int size = 256) {
    std::vector<std::pair<int, std::string>> lines;
    std::vector<char> buf(size + 1, 'X');
    for (;;) {
      int n = StreamReadLine(s, buf.data(), size);
      EXPECT_EQ(buf[n < 0 ? 0 : n], '\0');
      if (n <= 0) break;
      lines.emplace_back(n, std::string(buf.data(), n));
    }
    return lines;
  }

  ScratchDir dir_;
  std::vector<int> open_;
  int files_ = 0;
};

using LineList = std::vector<std::pair<int, std::string>>;

TEST_P(Streams, EmptyFileGivesZeroAndAnEmptyString) {
  int s = OpenWith("", STREAM_TEXT);
  char buf[8] = "garbage";
  EXPECT_EQ(StreamReadLine(s, buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(StreamReadLine(s, buf, sizeof buf), 0);  // and again after end of file
}

TEST_P(Streams, LastLineWithoutTerminatorKeepsItsLength) {
  EXPECT_EQ(Lines(OpenWith("one\ntwo", STREAM_TEXT)), (LineList{{4, "one\n"}, {3, "two"}}));
}

TEST_P(Streams, TextModeEndsLinesAtCrLfOrCrLf) {
  EXPECT_EQ(Lines(OpenWith("ab\r\ncd\n", STREAM_TEXT)), (LineList{{3, "ab\r"}, {3, "cd\n"}}));
  EXPECT_EQ(Lines(OpenWith("ab\r\r\n", STREAM_TEXT)), (LineList{{3, "ab\r"}, {1, "\r"}}));
  // Every LF that directly follows a CR LF is dropped.
  EXPECT_EQ(Lines(OpenWith("ab\r\n\n\ncd\n", STREAM_TEXT)), (LineList{{3, "ab\r"}, {3, "cd\n"}}));
  EXPECT_EQ(Lines(OpenWith("a\rb\rc", STREAM_TEXT)), (LineList{{2, "a\r"}, {2, "b\r"}, {1, "c"}}));
}

TEST_P(Streams, BinaryModesEndLinesOnlyAtLf) {
  for (int flags : {0, 4}) {
    EXPECT_EQ(Lines(OpenWith("ab\r\ncd\n", flags)), (LineList{{4, "ab\r\n"}, {3, "cd\n"}}));
    EXPECT_EQ(Lines(OpenWith("a\rb\r\n", flags)), (LineList{{5, "a\rb\r\n"}}));
  }
  // Flag 8 alone does nothing: CR needs both flags to end a line.
  EXPECT_EQ(Lines(OpenWith("a\rb\n", STREAM_CR_ENDS_LINE)), (LineList{{4, "a\rb\n"}}));
}

TEST_P(Streams, CrAtTheEndOfOneFillAndLfAtTheStartOfTheNextAreOneLineEnd) {
  std::string first(bufferSize_ - 1, 'x');
  std::string bytes = first + "\r\nnext\n";
  ASSERT_EQ(bytes[bufferSize_ - 1], '\r');
  ASSERT_EQ(bytes[bufferSize_], '\n');
  int s = OpenWith(bytes, STREAM_TEXT);
  std::vector<char> buf(bufferSize_ + 8);
  int n = StreamReadLine(s, buf.data(), static_cast<int>(buf.size()));
  ASSERT_EQ(n, bufferSize_);
  EXPECT_EQ(std::string(buf.data(), n), first + "\r");
  EXPECT_EQ(Lines(s), (LineList{{5, "next\n"}}));
}

TEST_P(Streams, LongLinesArriveInPiecesWithNothingLost) {
  std::string line(255, 'a');
  EXPECT_EQ(Lines(OpenWith(line + "\n", STREAM_TEXT)), (LineList{{255, line}, {1, "\n"}}));

  std::string longer(1000, 'b');
  LineList pieces = Lines(OpenWith(longer + "\n", STREAM_TEXT), 255);
  std::string joined;
  for (auto& piece : pieces) {
    EXPECT_LE(piece.first, 254);
    joined += piece.second;
  }
  EXPECT_EQ(joined, longer + "\n");
}

TEST_P(Streams, ADroppedLfUsesOnePlaceOfTheLine) {
  std::string line(254, 'c');
  // The LF of the first CR LF is pending when the 254-character line is read.
  LineList got = Lines(OpenWith("x\r\n" + line + "\r\n", STREAM_TEXT));
  EXPECT_EQ(got, (LineList{{2, "x\r"}, {254, line}, {1, "\r"}}));
}

// The line rule stated byte by byte, as a reference for the buffered reader.
struct ByteRuleReader {
  std::string bytes;
  size_t at = 0;
  int lastRead = -1;
  bool text;

  std::pair<int, std::string> Read(int size) {
    std::string line;
    for (int pass = 0; pass < size - 1; ++pass) {
      if (at == bytes.size()) break;
      unsigned char c = static_cast<unsigned char>(bytes[at++]);
      if (c == '\n' && text && lastRead == '\r') continue;
      line += static_cast<char>(c);
      lastRead = static_cast<signed char>(c);
      if (c == '\n' || (c == '\r' && text)) break;
    }
    return {static_cast<int>(line.size()), line};
  }
};

TEST_P(Streams, LineReadingMatchesTheByteRuleOnRandomInput) {
  unsigned seed = 12345;
  auto next = [&seed]() { return (seed = seed * 1103515245u + 12345u) >> 16; };
  const char alphabet[] = {'a', '\r', '\n', '\0', 'z', '\r', '\n', 'M'};
  for (int round = 0; round < 12; ++round) {
    std::string bytes;
    size_t length = round < 6 ? next() % 600 : bufferSize_ + next() % 40000;
    for (size_t i = 0; i < length; ++i) bytes += alphabet[next() % sizeof alphabet];
    for (int flags : {STREAM_TEXT, STREAM_BINARY}) {
      int s = OpenWith(bytes, flags);
      ByteRuleReader reference{bytes, 0, -1, flags == STREAM_TEXT};
      std::vector<char> buf(300);
      for (int call = 0;; ++call) {
        int size = 2 + static_cast<int>(next() % 255);
        std::pair<int, std::string> want = reference.Read(size);
        int n = StreamReadLine(s, buf.data(), size);
        ASSERT_EQ(n, want.first) << "round " << round << " call " << call;
        ASSERT_EQ(std::string(buf.data(), n), want.second) << "round " << round << " call " << call;
        if (n == 0) break;
      }
      StreamClose(s);
      open_.pop_back();
    }
  }
}

TEST_P(Streams, NulBytesAreDeliveredAndCounted) {
  std::string bytes("a\0b\n\0\n", 6);
  EXPECT_EQ(Lines(OpenWith(bytes, STREAM_TEXT)),
            (LineList{{4, std::string("a\0b\n", 4)}, {2, std::string("\0\n", 2)}}));
}

TEST_P(Streams, SeekingBackOverALineReadsItAgain) {
  int s = OpenWith("first\r\nsecond\r\nthird\r\n", STREAM_TEXT);
  char buf[256];
  ASSERT_EQ(StreamReadLine(s, buf, 256), 6);
  int n = StreamReadLine(s, buf, 256);
  ASSERT_EQ(std::string(buf), "second\r");
  StreamSeek(s, -n, FILE_CURRENT);
  EXPECT_EQ(StreamReadLine(s, buf, 256), n);
  EXPECT_STREQ(buf, "second\r");
  EXPECT_EQ(Lines(s), (LineList{{6, "third\r"}}));

  StreamSeek(s, 0, FILE_BEGIN);
  EXPECT_EQ(Lines(s), (LineList{{6, "first\r"}, {7, "second\r"}, {6, "third\r"}}));

  // A block read past the buffer leaves the buffer's old bytes behind: a seek back must not
  // take them for the file's.
  std::string big;
  for (int i = 0; big.size() < 3u * static_cast<size_t>(bufferSize_); ++i) big += "line " + std::to_string(i) + "\n";
  int u = OpenWith(big, STREAM_BINARY);
  const int head = StreamReadLine(u, buf, 256);
  std::vector<char> block(2 * static_cast<size_t>(bufferSize_) + 1);
  const int got = StreamReadBlock(u, block.data(), 2 * bufferSize_);
  ASSERT_EQ(got, 2 * bufferSize_);
  StreamSeek(u, -5, FILE_CURRENT);
  ASSERT_EQ(StreamReadBlock(u, buf, 5), 5);
  EXPECT_EQ(std::string(buf, 5), big.substr(static_cast<size_t>(head + got - 5), 5));
}

TEST_P(Streams, BlockReadsMixWithLineReadsAndStoreANulWhenAsked) {
  int s = OpenWith("head\nbody-bytes", STREAM_NUL_AFTER_BLOCK);
  char buf[32];
  ASSERT_EQ(StreamReadLine(s, buf, sizeof buf), 5);
  std::memset(buf, 'X', sizeof buf);
  EXPECT_EQ(StreamReadBlock(s, buf, 4), 4);
  EXPECT_EQ(std::string(buf, 5), std::string("body\0", 5));
  EXPECT_EQ(StreamReadBlock(s, buf, 20), 6);
  EXPECT_STREQ(buf, "-bytes");
  EXPECT_EQ(StreamReadBlock(s, buf, 20), 0);

  int b = OpenWith("xyz", STREAM_BINARY);
  std::memset(buf, 'Q', sizeof buf);
  EXPECT_EQ(StreamReadBlock(b, buf, 3), 3);
  EXPECT_EQ(buf[3], 'Q');  // no NUL in binary mode
}

TEST_P(Streams, WritesWaitInTheBufferUntilCloseOrFlush) {
  std::string path = dir_.File("out.bin");
  int s = StreamOpenForWriting(path.c_str());
  ASSERT_GE(s, 0);
  std::string bytes(bufferSize_ - 1, 'w');
  EXPECT_EQ(StreamWriteBlock(s, bytes.data(), static_cast<unsigned>(bytes.size())),
            bufferSize_ - 1);
  EXPECT_EQ(ReadWholeFile(path).size(), 0u);
  EXPECT_EQ(StreamWriteString(s, "!"), 1);  // the full buffer goes out first
  EXPECT_EQ(ReadWholeFile(path), bytes);
  EXPECT_EQ(StreamFlush(s), 1);
  EXPECT_EQ(StreamFlush(s), 0);
  EXPECT_EQ(StreamWriteString(s, "tail\r\n"), 6);
  EXPECT_TRUE(StreamClose(s));
  EXPECT_EQ(ReadWholeFile(path), bytes + "!tail\r\n");  // no line-end translation
  // A file written again holds the new bytes alone.
  s = StreamOpenForWriting(path.c_str());
  ASSERT_GE(s, 0);
  EXPECT_EQ(StreamWriteString(s, "new"), 3);
  EXPECT_TRUE(StreamClose(s));
  EXPECT_EQ(ReadWholeFile(path), "new");
}

TEST_P(Streams, LargeFilesRoundTripThroughBlocks) {
  std::string data;
  for (int i = 0; i < 3 * bufferSize_ + 77; ++i) data += static_cast<char>((i * 131) & 0xFF);
  std::string path = dir_.File("big.bin");
  int w = StreamOpenForWriting(path.c_str());
  ASSERT_GE(w, 0);
  // Small blocks through the buffer, then blocks larger than the buffer, which go straight
  // to the file after what the buffer holds, then small ones again.
  const size_t large = 1000 + bufferSize_ + 1;
  for (size_t at = 0, n = 0; at < data.size(); at += large, ++n) {
    const size_t piece = n % 3 == 1 ? large : 1000;
    for (size_t in = 0; in < large && at + in < data.size(); in += piece) {
      unsigned len = static_cast<unsigned>(std::min<size_t>({piece, large - in, data.size() - at - in}));
      ASSERT_EQ(StreamWriteBlock(w, data.data() + at + in, len), static_cast<int>(len));
    }
  }
  StreamClose(w);
  ASSERT_EQ(ReadWholeFile(path), data);

  int r = StreamOpenForReading(path.c_str(), STREAM_BINARY);
  ASSERT_GE(r, 0);
  EXPECT_EQ(GetFileSize(StreamOsHandle(r), nullptr), data.size());
  std::string back;
  char chunk[256];
  int n;
  while ((n = StreamReadBlock(r, chunk, sizeof chunk)) > 0) back.append(chunk, n);
  EXPECT_EQ(n, 0);
  StreamClose(r);
  EXPECT_EQ(back, data);
}

TEST_P(Streams, TheEleventhStreamFailsAndAFreedSlotIsReused) {
  std::vector<int> handles;
  for (int i = 0; i < STREAM_SLOTS; ++i) {
    int s = StreamOpenForWriting(dir_.File("f" + std::to_string(i)).c_str());
    ASSERT_EQ(s, i);
    handles.push_back(s);
  }
  EXPECT_EQ(StreamOpenForWriting(dir_.File("eleventh").c_str()), -1);
  EXPECT_FALSE(PathExists(dir_.File("eleventh")));  // no file-system call was made
  StreamClose(handles[3]);
  int again = StreamOpenForWriting(dir_.File("eleventh").c_str());
  EXPECT_EQ(again, 3);
  handles[3] = again;
  for (int s : handles) StreamClose(s);
}

TEST_P(Streams, FailedOpensAndBadHandlesAreRefused) {
  EXPECT_EQ(StreamOpenForReading(dir_.File("missing").c_str(), STREAM_TEXT), -1);
  char buf[8];
  EXPECT_EQ(StreamReadLine(-1, buf, sizeof buf), -1);
  EXPECT_EQ(StreamReadLine(STREAM_SLOTS + 5, buf, sizeof buf), -1);
  EXPECT_EQ(StreamWriteString(0, "x"), -1);  // slot 0 is not open
  EXPECT_FALSE(StreamClose(0));
}

TEST_P(Streams, MakeTempFileNameCreatesANewEmptyFile) {
  char first[MAX_PATH], second[MAX_PATH];
  ASSERT_NE(MakeTempFileName(first), 0u);
  ASSERT_NE(MakeTempFileName(second), 0u);
  EXPECT_STRNE(first, second);
  EXPECT_TRUE(PathExists(first));
  EXPECT_EQ(ReadWholeFile(first), "");
  EXPECT_NE(std::string(first).find("znt"), std::string::npos);
  DeleteFileA(first);
  DeleteFileA(second);
}

INSTANTIATE_TEST_SUITE_P(BufferSizes, Streams,
                         ::testing::Values(static_cast<int>(STREAM_BUFFER_SIZE),
                                           static_cast<int>(STREAM_PROGRAM_BUFFER_SIZE)));

TEST(StreamTable, InitLimitsAndShutdown) {
  StreamShutdown();
  ASSERT_EQ(StreamInit(0, 0), 0);  // a table in which every open fails
  ScratchDir dir;
  EXPECT_EQ(StreamOpenForWriting(dir.File("x").c_str()), -1);
  EXPECT_EQ(StreamInit(10, 16384), 0);  // already initialised: nothing changes
  EXPECT_EQ(StreamOpenForWriting(dir.File("x").c_str()), -1);
  StreamShutdown();
  EXPECT_EQ(StreamOpenForWriting(dir.File("x").c_str()), -1);  // uninitialised
  ASSERT_EQ(StreamInit(STREAM_SLOTS, STREAM_BUFFER_SIZE), 0);
  int s = StreamOpenForWriting(dir.File("x").c_str());
  EXPECT_EQ(s, 0);
  StreamClose(s);
}

}  // namespace
