// Encoding to the real clipboard: the text there is byte for byte what the file destination
// writes; a clipboard held by another program is reported, and the clipboard choice is
// cleared either way.
#include <algorithm>
#include <string>

#include "encode/destinations.h"
#include "tests/engine/encode_fixture.h"
#include "tests/support/clipboard_access.h"

namespace {

class ClipboardDestination : public EncodeTest {
 protected:
  void SetUp() override {
    EncodeTest::SetUp();
    ASSERT_NE(owner.window(), nullptr);
  }
  // Encodes `path` to a file and returns the file's text (the reference).
  std::string EncodeToFile(const std::string& path) {
    g_job.clipboardOutput = false;
    EXPECT_EQ(Encode(path), 0);
    EXPECT_EQ(g_ui.outputsMade.size(), 1u);
    if (g_ui.outputsMade.empty()) return "<no file>";
    std::string text = ReadWholeFile(g_ui.outputsMade[0]);
    DeleteFileA(g_ui.outputsMade[0].c_str());
    g_ui.Reset();
    return text;
  }
  // Encodes `path` to the clipboard with the test's owner window; returns EncodeFile's result.
  int EncodeToClipboard(const std::string& path) {
    g_job.clipboardOutput = true;
    g_job.inputIndex = 0;
    g_job.inputCount = 1;
    snprintf(g_job.inputPath, sizeof g_job.inputPath, "%s", path.c_str());
    const int s = StreamOpenForReading(path.c_str(), STREAM_BINARY);
    EXPECT_GE(s, 0);
    return EncodeFile(owner.window(), s, 0);
  }
  // A block as the driver hands it over: moveable, shareable, NUL-terminated, locked once.
  static HGLOBAL LockedBlock(const std::string& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
    char* p = static_cast<char*>(GlobalLock(memory));
    memcpy(p, text.c_str(), text.size() + 1);
    return memory;
  }
  ClipboardLock lock;
  ClipboardOwner owner;
};

TEST_F(ClipboardDestination, TextEqualsTheFileOutputForEveryMethod) {
  struct Case {
    int method, style;
    bool crlf;
    size_t size;
  } cases[] = {{METHOD_UU, 3, true, 1000},     {METHOD_UU, 3, false, 1000}, {METHOD_XX, 3, true, 4000},
               {METHOD_MIME, 3, true, 5000},   {METHOD_BINHEX, 3, true, 3000}, {METHOD_UU, 3, true, 0},
               {METHOD_UU, 6, true, 2000},     {METHOD_UU, 3, true, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "method " << c.method << " style " << c.style << " size " << c.size);
    g_ui.Reset();
    Settings(c.method, c.style, c.crlf, MAX_OUTPUT_SIZE, c.method == METHOD_UU);
    const std::string input = Input("photo.jpg", Bytes(c.size, 7));
    const std::string expected = EncodeToFile(input);
    ASSERT_TRUE(PutClipboardText(owner.window(), "something else"));

    EXPECT_EQ(EncodeToClipboard(input), 0);
    bool present = false;
    EXPECT_EQ(ClipboardText(&present), expected);
    EXPECT_TRUE(present);
    EXPECT_TRUE(g_ui.messages.empty());
    EXPECT_TRUE(g_ui.outputsMade.empty());
    EXPECT_FALSE(g_job.clipboardOutput);
    EXPECT_STREQ(g_job.outputPath, "the Clipboard");
    EXPECT_TRUE(std::any_of(g_ui.statuses.begin(), g_ui.statuses.end(),
                            [](const std::string& s) { return s.find("out=the Clipboard ") != std::string::npos; }));
    EXPECT_EQ(ListFolder(dir.path()), "photo.jpg\n");
  }
}

TEST_F(ClipboardDestination, ALargeInputIsOneWholePartWhateverTheLimit) {
  // A limit that splits the file output into parts does not split the clipboard text.
  const std::string input = Input("big.bin", Bytes(60000, 3));
  Settings(METHOD_UU, 6, true, MAX_OUTPUT_SIZE);
  const std::string whole = EncodeToFile(input);
  Settings(METHOD_UU, 6, true, MIN_OUTPUT_SIZE);
  EXPECT_EQ(EncodeToClipboard(input), 0);
  EXPECT_EQ(g_job.partCount, 1);
  EXPECT_EQ(ClipboardText(), whole);
  EXPECT_GT(whole.size(), 80000u);
}

TEST_F(ClipboardDestination, AClipboardHeldByAnotherProgramIsReported) {
  ASSERT_TRUE(PutClipboardText(owner.window(), "kept"));
  Settings(METHOD_UU, 3);
  const std::string input = Input("a.txt", "hello");
  {
    ClipboardHolder other;
    ASSERT_TRUE(other.opened());
    EXPECT_EQ(EncodeToClipboard(input), -2);
  }
  ASSERT_EQ(g_ui.messages.size(), 1u);
  EXPECT_EQ(g_ui.messages[0].text, "Can't Open Clipboard because\r\n");
  EXPECT_EQ(g_ui.messages[0].flags, static_cast<UINT>(MB_OK | MB_ICONHAND));
  EXPECT_NE(g_ui.messages[0].error, 0u);
  EXPECT_FALSE(g_job.clipboardOutput);
  EXPECT_EQ(ClipboardText(), "kept");
  EXPECT_EQ(ListFolder(dir.path()), "a.txt\n");
}

TEST_F(ClipboardDestination, TheOwnerWindowOwnsTheClipboardAfterAHandOver) {
  EXPECT_EQ(HandOverToClipboard(owner.window(), LockedBlock("line 1\r\nline 2\r\n")), 0);
  EXPECT_EQ(GetClipboardOwner(), owner.window());
  EXPECT_TRUE(g_ui.messages.empty());
  {
    ClipboardHolder other;  // the clipboard was closed again
    EXPECT_TRUE(other.opened());
  }
  EXPECT_EQ(ClipboardText(), "line 1\r\nline 2\r\n");
}

}  // namespace
