// The job commands and private messages in the real window: dropped files as a batch, the
// encode-or-decode decision per file, joining, refusals while a job is in progress, and
// messages whose path is not the entry now due.
#include <gtest/gtest.h>

#include "core/platform.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <thread>
#include <string>
#include <vector>

#include "app/batch.h"
#include "encode/encode_driver.h"
#include "resources/resource.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/clipboard_access.h"
#include "tests/support/test_files.h"
#include "tests/support/window_probe.h"

namespace {

const char kCaption[] = "Quorvane 32";
const char kUuText[] =
    "begin 644 hello.txt\r\n"
    "M5&AE('%U:6-K(&)R;W=N(&9O>\"!J=6UP<R!O=F5R('1H92!L87IY(&1O9RX*\r\n"
    "`\r\n"
    "end\r\n";
const char kHelloText[] = "The quick brown fox jumps over the lazy dog.\n";

class CommandDispatch : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    g_settings.nostatusmessages = 1;  // no summary boxes between the jobs of a batch
    g_settings.usedefaultnames = 1;
    g_settings.overwriteexisting = 1;
  }
  HWND window() const { return g_program.mainWindow; }
  // A batch of the user's files whose first input waits to be taken.
  void StartWaitingBatch(const std::vector<std::string>& paths) {
    ASSERT_TRUE(StartBatch(window(), paths, FROM_USER, NEXT_DECIDE));
    ASSERT_EQ(DrainMessages(UM_NEXT_INPUT), 1);
  }

  // Serves the window's messages until the batch has ended (or 20 seconds passed).
  static void RunBatch() {
    DWORD start = GetTickCount();
    MSG message;
    do {
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      Sleep(10);
    } while ((g_job.inputCount > 0 || g_job.busy) && GetTickCount() - start < 20000);
  }

  // A WM_DROPFILES block as the shell makes it: DROPFILES, then the names, then an empty one.
  static HDROP MakeDrop(const std::vector<std::string>& paths) {
    std::string names;
    for (const std::string& path : paths) names += path + '\0';
    names += '\0';
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
  }
  void Drop(const std::vector<std::string>& paths) {
    SendMessageA(window(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
  }

  ScratchDir dir;
};

// The joined file is named "znt..." beside the first input; none may be left.
bool JoinedFileLeft(const ScratchDir& dir) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(dir.File("znt*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

TEST_F(CommandDispatch, DroppedFilesAreEncodedOrDecodedByTheirNames) {
  g_settings.decodemethod = DECODE_BY_NAME;
  g_settings.decodejoin = 0;
  WriteWholeFile(dir.File("x.zip"), std::string(1000, 'z'));
  WriteWholeFile(dir.File("y.UUE"), kUuText);
  Drop({dir.File("x.zip"), dir.File("y.UUE")});
  EXPECT_TRUE(g_job.multiInput);
  RunBatch();
  EXPECT_EQ(g_job.inputCount, 0);
  EXPECT_TRUE(PathExists(dir.File("x.uue"))) << ListFolder(dir.path());
  // The decode after an encode in the same batch is still decided by its name.
  EXPECT_EQ(ReadWholeFile(dir.File("hello.txt")), kHelloText) << ListFolder(dir.path());
  EXPECT_FALSE(g_job.quitRequested) << "a dropped batch leaves the program open";
}

TEST_F(CommandDispatch, JoinedInputsDecodeAsOneAndTheJoinedFileIsGone) {
  g_settings.decodejoin = 1;
  g_settings.decodemethod = DECODE_BY_DATA;
  const std::string text = kUuText;
  const size_t second = text.find("M5");
  const size_t third = text.find("`\r\n");
  WriteWholeFile(dir.File("p1.txt"), text.substr(0, second));
  WriteWholeFile(dir.File("p2.txt"), text.substr(second, third - second));
  WriteWholeFile(dir.File("p3.txt"), text.substr(third));
  Drop({dir.File("p1.txt"), dir.File("p2.txt"), dir.File("p3.txt")});
  RunBatch();
  EXPECT_EQ(ReadWholeFile(dir.File("hello.txt")), kHelloText);
  for (const char* name : {"p1.txt", "p2.txt", "p3.txt"}) EXPECT_TRUE(PathExists(dir.File(name))) << name;
  EXPECT_FALSE(JoinedFileLeft(dir)) << ListFolder(dir.path());
}

// "Encode" for one plain file of a batch encodes that file; the next plain file is asked
// about again instead of being encoded unasked.
TEST_F(CommandDispatch, EncodeInsteadCoversOnlyTheFileItWasChosenFor) {
  g_settings.decodemethod = DECODE_BY_DATA;
  g_settings.decodejoin = 0;
  WriteWholeFile(dir.File("a.dat"), "plain words, nothing encoded\r\n");
  WriteWholeFile(dir.File("b.dat"), "more plain words\r\n");
  std::vector<std::string> asked;
  std::thread answerer([&] {
    for (int button : {IDC_WHICH_ENCODE, IDCANCEL}) {
      HWND dialog = WaitForWindow("#32770", "Encode or Decode?", GetCurrentProcessId(), 10000);
      if (!dialog) return;
      asked.push_back(WindowText(FindChild(dialog, IDC_WHICH_TEXT)));
      PressButton(dialog, button);
      for (int waited = 0; IsWindow(dialog) && waited < 10000; waited += 10) Sleep(10);
    }
  });
  Drop({dir.File("a.dat"), dir.File("b.dat")});
  RunBatch();
  answerer.join();
  ASSERT_EQ(asked.size(), 2u) << ListFolder(dir.path());
  EXPECT_EQ(asked[1].rfind(dir.File("b.dat") + " apparently cannot be decoded.", 0), 0u) << asked[1];
  EXPECT_TRUE(PathExists(dir.File("a.uue"))) << ListFolder(dir.path());
  EXPECT_FALSE(PathExists(dir.File("b.uue"))) << ListFolder(dir.path());
}

TEST_F(CommandDispatch, MoreDroppedFilesThanTheListHoldsAreRefusedWhole) {
  std::vector<std::string> paths;
  for (int i = 0; i <= MAX_INPUTS; ++i) paths.push_back(dir.File("f" + std::to_string(i) + ".zip"));
  DialogProbe probe(kCaption, IDOK);
  Drop(paths);
  EXPECT_EQ(probe.Result().text, "129 files were dropped; at most 128 can be processed at a time.\r\nNo file was processed.");
  EXPECT_EQ(g_job.inputCount, 0);
  EXPECT_EQ(DrainMessages(UM_NEXT_INPUT), 0);
}

// Every command that would start or change a batch, the mail commands included, is refused
// while one waits between its jobs; the waiting batch is left as it was.
TEST_F(CommandDispatch, JobCommandsAndDropsAreRefusedWhileABatchWaits) {
  StartWaitingBatch({dir.File("waiting.zip")});
  for (int id : {IDM_DECODE_CLIPBOARD, IDM_ENCODE_CLIPBOARD, IDM_DECODE_FILE, IDM_ENCODE_MAIL, IDM_DECODE_MAIL}) {
    DialogProbe probe(kCaption, IDOK);
    SendMessageA(window(), WM_COMMAND, id, 0);
    EXPECT_EQ(probe.Result().text, "Another job is still running.") << id;
  }
  EXPECT_FALSE(g_job.mailOutput) << "a refused Encode to E-mail changes no destination";
  DialogProbe probe(kCaption, IDOK);
  Drop({dir.File("other.uue")});
  EXPECT_TRUE(probe.Result().found);
  ASSERT_EQ(g_job.inputCount, 1) << "the waiting batch is untouched";
  EXPECT_EQ(g_job.inputIndex, 0);
  EXPECT_EQ(std::string(g_job.inputs[0]), dir.File("waiting.zip"));
}

// Only the entry now due is taken, and only the batch says how it is taken and which inputs
// are temporary: a message from elsewhere can neither have the user's file encoded against the
// settings nor deleted as a temporary input.
TEST_F(CommandDispatch, EncodeAndDecodeMessagesTakeOnlyTheEntryNowDue) {
  WriteWholeFile(dir.File("x.uu"), kUuText);
  char stray[PATH_ROOM];
  std::snprintf(stray, sizeof stray, "%s", dir.File("x.uu").c_str());
  SendMessageA(window(), UM_ENCODE_FILE, 0, reinterpret_cast<LPARAM>(stray));
  SendMessageA(window(), UM_DECODE_FILE, 0, reinterpret_cast<LPARAM>(stray));
  SendMessageA(window(), UM_NEXT_INPUT, 0, MAKELPARAM(1, 0));  // empty list
  EXPECT_EQ(ListFolder(dir.path()), "x.uu\n");

  StartWaitingBatch({dir.File("x.uu")});
  g_job.busy = true;  // a message that arrives while a job runs starts nothing
  SendMessageA(window(), UM_ENCODE_FILE, 0, reinterpret_cast<LPARAM>(g_job.inputs[0]));
  g_job.busy = false;
  EXPECT_EQ(ListFolder(dir.path()), "x.uu\n");
  g_settings.decodemethod = DECODE_BY_NAME;
  PostMessageA(window(), UM_NEXT_INPUT, 0, MAKELPARAM(NEXT_ENCODE, 1));  // "encode", "temporary"
  RunBatch();
  EXPECT_EQ(ListFolder(dir.path()), "hello.txt\nx.uu\n");
}

TEST_F(CommandDispatch, DecodeFromClipboardNeedsTextAndItsMenuItemSaysSo) {
  ClipboardLock lock;
  ClipboardOwner owner;
  HMENU file = GetSubMenu(GetMenu(window()), 0);
  ASSERT_TRUE(EmptyTheClipboard(owner.window()));
  SendMessageA(window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  EXPECT_TRUE(GetMenuState(file, IDM_DECODE_CLIPBOARD, MF_BYCOMMAND) & MF_GRAYED);
  DialogProbe probe(kCaption, IDOK);
  SendMessageA(window(), WM_COMMAND, IDM_DECODE_CLIPBOARD, 0);
  EXPECT_EQ(probe.Result().text, "No Text on Clipboard.");
  EXPECT_EQ(probe.Result().icon, ProbeIcon::Exclamation);

  ASSERT_TRUE(PutClipboardText(owner.window(), "text"));
  SendMessageA(window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  EXPECT_FALSE(GetMenuState(file, IDM_DECODE_CLIPBOARD, MF_BYCOMMAND) & MF_GRAYED);
  EmptyTheClipboard(owner.window());
}

// Types a path into the open dialog's file-name field.
std::function<void(HWND)> Choosing(const std::string& path) {
  return [path](HWND dialog) {
    HWND field = GetDlgItem(dialog, 0x47c);
    if (!field) field = GetDlgItem(dialog, 0x480);
    SetWindowTextA(field, path.c_str());
  };
}

TEST_F(CommandDispatch, EncodeAndDecodeFromTheMenuRunOnTheChosenFile) {
  WriteWholeFile(dir.File("m.bin"), std::string(300, 'm'));
  {
    DialogProbe open("Encode", IDOK, Choosing(dir.File("m.bin")));
    SendMessageA(window(), WM_COMMAND, IDM_ENCODE_FILE, 0);
    EXPECT_TRUE(open.Result().found);
  }
  ASSERT_TRUE(PathExists(dir.File("m.uue"))) << ListFolder(dir.path());
  DeleteFileA(dir.File("m.bin").c_str());
  {
    DialogProbe open("Decode", IDOK, Choosing(dir.File("m.uue")));
    SendMessageA(window(), WM_COMMAND, IDM_DECODE_FILE, 0);
    EXPECT_TRUE(open.Result().found);
  }
  EXPECT_EQ(ReadWholeFile(dir.File("m.bin")), std::string(300, 'm'));
  EXPECT_FALSE(g_job.busy);
}

TEST_F(CommandDispatch, ACancelledEncodeToClipboardLeavesNoDestinationBehind) {
  DialogProbe open("Encode", IDCANCEL);
  SendMessageA(window(), WM_COMMAND, IDM_ENCODE_CLIPBOARD, 0);
  EXPECT_TRUE(open.Result().found);
  EXPECT_FALSE(g_job.clipboardOutput) << "the next Encode to File goes to a file";
}

// The job before leaves its output in the job state; the summary names the decoder's own.
TEST_F(CommandDispatch, ADecodeSummaryNamesWhatTheDecoderWrote) {
  g_settings.nostatusmessages = 0;
  g_settings.decodetestchecksum = 0;
  WriteWholeFile(dir.File("hello.uue"), kUuText);
  std::snprintf(g_job.outputPath, PATH_ROOM, "%s", dir.File("earlier.uue").c_str());
  DialogProbe open("Decode", IDOK, Choosing(dir.File("hello.uue")));
  DialogProbe summary(kCaption, IDOK);
  SendMessageA(window(), WM_COMMAND, IDM_DECODE_FILE, 0);
  EXPECT_TRUE(open.Result().found);
  EXPECT_EQ(summary.Result().text, "hello.uue Successfully UU Decoded as\r\n" + dir.File("hello.txt"));
  EXPECT_EQ(g_job.outputPath[0], '\0') << "the ended job leaves no output path for the next";
}

// The clipboard holds one text: the whole selection is refused before any file is encoded.
TEST_F(CommandDispatch, ASelectionForTheClipboardIsRefusedWhole) {
  for (const char* file : {"a.bin", "b.bin"}) WriteWholeFile(dir.File(file), "x");
  g_settings.encodedirselect = DIR_CHOSEN;  // the dialog opens in that folder
  std::snprintf(g_settings.encodedir, SETTINGS_PATH_ROOM, "%s", dir.path().c_str());
  DialogProbe open("Encode", IDOK, Choosing("\"a.bin\" \"b.bin\""));
  DialogProbe refusal(kCaption, IDOK);
  SendMessageA(window(), WM_COMMAND, IDM_ENCODE_CLIPBOARD, 0);
  EXPECT_TRUE(open.Result().found);
  EXPECT_EQ(refusal.Result().text, kClipboardTakesOneFile);
  EXPECT_EQ(g_job.inputCount, 0);
  EXPECT_FALSE(g_job.clipboardOutput) << "the next Encode to File goes to a file";
  EXPECT_EQ(DrainMessages(UM_NEXT_INPUT), 0);
  EXPECT_EQ(ListFolder(dir.path()), "a.bin\nb.bin\n");
}

}  // namespace
