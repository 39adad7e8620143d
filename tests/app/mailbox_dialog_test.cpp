// The mailbox dialog (template 313) on a real list view, against the test mail store: what
// it lists, and what "&Decode" hands to the main window.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "app/batch.h"
#include "app/file_dialogs.h"
#include "mail/decode_select_dialog.h"
#include "mail/message_list.h"
#include "resources/resource.h"
#include "tests/app/mail_store_fixture.h"

namespace {

const char kCaption[] = "Quorvane 32";

class MailboxDialog : public MailStoreTest {
 protected:
  void TearDown() override {
    if (dialog) DestroyWindow(dialog);
    if (g_job.inputCount > 0) AbandonBatch(g_program.mainWindow);
    MailStoreTest::TearDown();
  }
  void Open() {
    dialog = CreateDialogParamA(g_program.instance, MAKEINTRESOURCEA(IDD_DECODE_SELECT), g_program.mainWindow,
                                DecodeSelectDlg, 0);
    ASSERT_NE(dialog, nullptr);
    list = GetDlgItem(dialog, IDC_MAIL_LIST);
    ShowWindow(dialog, SW_SHOW);  // as DialogBox does, so that ending it is seen
  }
  std::string Cell(int row, int column) {
    char text[MAIL_ID_ROOM] = "";
    ListView_GetItemText(list, row, column, text, sizeof text);
    return text;
  }
  int Icon(int row) {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ListView_GetItem(list, &item);
    return item.iImage;
  }
  void Select(std::initializer_list<int> rows) {
    for (int row : rows) ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
  }
  bool DecodeEnabled() { return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE; }
  void PressDecode() { SendMessageA(dialog, WM_COMMAND, IDOK, 0); }
  // Three body-only messages of one posting, with and without subjects.
  void ThreeBodies() {
    Inbox("0001", "Subject: post (1/3)\nType: Zentrel32\n\nfirst body\r\n");
    Inbox("0002", "Subject: post (2/3)\n\nsecond body\r\n");
    Inbox("0003", "\nthird body\r\n");
  }
  std::string Input(int i) { return ReadWholeFile(g_job.inputs[i]); }

  HWND dialog = nullptr;
  HWND list = nullptr;
};

TEST_F(MailboxDialog, ListsEveryMessageWithItsCellsAndIcon) {
  WriteWholeFile(store.File("a1"), "x");
  Inbox("0001", "Subject: ours\nFrom: Zentrel|SMTP:z\nDate: 2026/12/08 03:00\nType: ZENTP32\n"
                "Attach: 0|a.bin|a1\n\nbody\r\n");
  Inbox("0002", "Subject: plain\nFrom: Alice|SMTP:alice\nDate: 2026/12/07 10:00\nType: IPM.Note\n\n12345");
  Inbox("0003", "Subject: with file\nFrom: |SMTP:nobody\nAttach: 0|b.bin|a1\n\n");
  Inbox("0004", "Flags: 0\n");
  Open();
  ASSERT_EQ(ListView_GetItemCount(list), 4);
  const char* expected[4][6] = {
      {"ours", "Zentrel", "2026/12/08 03:00", "6", "ZENTP32", "0001"},
      {"plain", "Alice", "2026/12/07 10:00", "5", "IPM.Note", "0002"},
      {"with file", "(Unknown)", "(Unknown)", "empty", "(Unknown)", "0003"},
      {"(No Subject)", "(Unknown)", "(Unknown)", "empty", "(Unknown)", "0004"},
  };
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < MAIL_COLUMNS; ++column) EXPECT_EQ(Cell(row, column), expected[row][column]);
  EXPECT_EQ(Icon(0), 0);  // sent by this program, whatever its attachments
  EXPECT_EQ(Icon(1), 1);
  EXPECT_EQ(Icon(2), 2);
  EXPECT_EQ(ListView_GetColumnWidth(list, MAIL_ID_COLUMN), 0);
  EXPECT_GT(ListView_GetColumnWidth(list, 0), 8);
  EXPECT_EQ(ImageList_GetImageCount(ListView_GetImageList(list, LVSIL_SMALL)), 3);
  EXPECT_EQ(ImageList_GetImageCount(ListView_GetImageList(list, LVSIL_NORMAL)), 3);
  // Listing only peeks: nothing is marked read, no attachment is copied out.
  EXPECT_EQ(CountCalls("flags=0x880"), 4);
  EXPECT_EQ(ListFolder(store.File("inbox")), "0001.msg\n0002.msg\n0003.msg\n0004.msg\n");
  EXPECT_EQ(ListFolder(temp.path()), "");
  EXPECT_FALSE(DecodeEnabled());
  Select({1});
  EXPECT_TRUE(DecodeEnabled());
  EXPECT_EQ(Status(), "");
}

TEST_F(MailboxDialog, AMailSystemThatFindsTheSameMessageAgainEndsTheList) {
  ThreeBodies();
  Config("stuck=1\n");
  Open();
  EXPECT_EQ(ListView_GetItemCount(list), 1);
  EXPECT_EQ(CountCalls("MAPIFindNext"), 2);
}

TEST_F(MailboxDialog, AnEmptyMailboxIsSaidOnce) {
  DialogProbe probe(kCaption, IDOK);
  Open();
  EXPECT_EQ(probe.Result().text, "No Matching Messages Found.");
  EXPECT_EQ(ListView_GetItemCount(list), 0);
  EXPECT_FALSE(DecodeEnabled());
  EXPECT_FALSE(WaitForWindow("#32770", kCaption, GetCurrentProcessId(), kNoDialogMs));
}

TEST_F(MailboxDialog, JoinedBodiesAreOneTemporaryInput) {
  g_settings.decodejoin = 1;
  ThreeBodies();
  Open();
  Select({0, 1, 2});
  PressDecode();
  ASSERT_EQ(g_job.inputCount, 1);
  EXPECT_EQ(Input(0),
            "\r\n\r\nSubject: post (1/3)\r\n\r\n\r\nfirst body\r\n"
            "\r\n\r\nSubject: post (2/3)\r\n\r\n\r\nsecond body\r\n"
            "\r\n\r\n\r\nthird body\r\n");
  EXPECT_TRUE(g_job.multiInput);
  EXPECT_TRUE(g_job.mailInputs);
  EXPECT_EQ(g_job.inputIndex, 0);
  EXPECT_EQ(g_mail.session, 0u);
  EXPECT_EQ(CountCalls("MAPILogoff"), 1);
  EXPECT_EQ(CountCalls("flags=0x0\n"), 3);  // full reads
  EXPECT_EQ(DrainMessages(UM_NEXT_INPUT), 1);
}

// The lines set around a body end in CR LF even when encoded text is to end in LF: after a
// CR LF body a bare LF would be read as part of that line end, and the empty lines lost.
TEST_F(MailboxDialog, WithoutJoiningEachBodyIsAnInputOfItsOwnSetOffInCrLf) {
  g_settings.decodejoin = 0;
  g_settings.encodecrlf = EOL_LF;
  ThreeBodies();
  Open();
  Select({0, 2});
  PressDecode();
  ASSERT_EQ(g_job.inputCount, 2);
  EXPECT_EQ(Input(0), "\r\n\r\nSubject: post (1/3)\r\n\r\n\r\nfirst body\r\n");
  EXPECT_EQ(Input(1), "\r\n\r\n\r\nthird body\r\n");
  EXPECT_EQ(DrainMessages(UM_NEXT_INPUT), 1);
}

// The messages chosen while another batch waits start nothing: the waiting batch keeps its
// inputs and its place, and the message texts saved for the refused batch are deleted.
TEST_F(MailboxDialog, ABatchWaitingIsLeftAloneAndTheSavedTextsAreDeleted) {
  const std::string waiting = store.File("waiting.uue");
  ASSERT_TRUE(StartBatch(g_program.mainWindow, {waiting, store.File("next.uue")}, FROM_USER, NEXT_DECIDE));
  ASSERT_EQ(DrainMessages(UM_NEXT_INPUT), 1);
  g_settings.decodejoin = 0;
  ThreeBodies();
  Open();
  Select({0, 1});
  DialogProbe refusal(kCaption, IDOK);
  PressDecode();
  EXPECT_EQ(refusal.Result().text, "Another job is still running.");
  EXPECT_EQ(ListFolder(temp.path()), "");
  ASSERT_EQ(g_job.inputCount, 2);
  EXPECT_EQ(g_job.inputIndex, 0);
  EXPECT_EQ(std::string(g_job.inputs[0]), waiting);
  EXPECT_FALSE(g_job.mailInputs);
  EXPECT_EQ(DrainMessages(UM_NEXT_INPUT), 0);
}

TEST_F(MailboxDialog, AttachmentsOnlyAreSavedAndNoDecodeStarts) {
  const std::string out = store.File("out");
  CreateDirectoryA(out.c_str(), nullptr);
  g_settings.decodedirselect = DIR_CHOSEN;
  snprintf(g_settings.decodedir, sizeof g_settings.decodedir, "%s", out.c_str());
  g_settings.usedefaultnames = 1;
  WriteWholeFile(store.File("a1"), "attached bytes");
  Inbox("0001", "Subject: a file\nAttach: 0|report.pdf|a1\n\nsee the file\r\n");
  Open();
  Select({0});
  PressDecode();
  EXPECT_EQ(ReadWholeFile(store.File("out\\report.pdf")), "attached bytes");
  EXPECT_EQ(g_job.inputCount, 0);
  EXPECT_FALSE(g_job.mailInputs);
  EXPECT_EQ(DrainMessages(UM_NEXT_INPUT), 0);
  EXPECT_EQ(ListFolder(temp.path()), "");
  EXPECT_EQ(g_mail.session, 0u);

  // With outputs "in the input's folder" an attachment, which has no folder, goes to the
  // documents folder, not to the current one.
  g_settings.decodedirselect = DIR_SAME_AS_INPUT;
  const std::string documented = std::string(DocumentsFolder()) + "\\report.pdf";
  DeleteFileA(documented.c_str());
  DestroyWindow(dialog);
  Open();
  Select({0});
  PressDecode();
  EXPECT_EQ(ReadWholeFile(documented), "attached bytes");
  DeleteFileA(documented.c_str());
}

TEST_F(MailboxDialog, NothingSavedKeepsTheDialogOpen) {
  ThreeBodies();
  Open();
  Select({1});
  Config("fail.MAPIReadMail=17\n");
  // The read failure, then "Nothing to Decode.": answered one after the other.
  std::vector<std::string> texts;
  std::thread answer([&] {
    for (int i = 0; i < 2; ++i) {
      HWND box = WaitForWindow("#32770", kCaption, GetCurrentProcessId(), 5000);
      if (!box) return;
      texts.push_back(ReadDialog(box).text);
      PressButton(box, IDOK);
      for (int wait = 0; wait < 500 && IsWindow(box); ++wait) Sleep(10);
    }
  });
  PressDecode();
  answer.join();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "Reading E-mail Message Failed because Invalid Message Identifier.");
  EXPECT_EQ(texts[1], "Nothing to Decode.");
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(g_job.inputCount, 0);
  EXPECT_NE(g_mail.session, 0u);
  Config("");
  SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(g_mail.session, 0u);
}

TEST_F(MailboxDialog, AFailedLogonEndsTheDialogWithNothingListed) {
  Config("fail.MAPILogon=2\n");
  DialogProbe probe(kCaption, IDOK);
  Open();
  EXPECT_EQ(probe.Result().text, "Unable to Login for E-mail because Non-Specific Failure.");
  EXPECT_EQ(ListView_GetItemCount(list), 0);
  EXPECT_EQ(CountCalls("MAPIFindNext"), 0);
}

}  // namespace

namespace {

// More selected messages than the input list holds: the list stops full, once said.
TEST_F(MailboxDialog, ManySelectedMessagesNeverOverflowTheInputList) {
  g_settings.decodejoin = 0;
  const int many = MAX_INPUTS + 2;
  for (int i = 1; i <= many; ++i) {
    char id[8];
    snprintf(id, sizeof id, "%04d", i);
    Inbox(id, "Subject: m\n\nbody\r\n");
  }
  Open();
  ASSERT_EQ(ListView_GetItemCount(list), many);
  ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
  DialogProbe probe(kCaption, IDOK);
  PressDecode();
  EXPECT_EQ(probe.Result().text, "Only 128 E-mail Messages can be Decoded at a Time.");
  EXPECT_EQ(g_job.inputCount, MAX_INPUTS);
  EXPECT_EQ(Input(MAX_INPUTS - 1), "\r\n\r\nSubject: m\r\n\r\n\r\nbody\r\n");
  EXPECT_EQ(DrainMessages(UM_NEXT_INPUT), 1);
  // No temporary file beyond those in the list.
  const std::string left = ListFolder(temp.path());
  EXPECT_EQ(std::count(left.begin(), left.end(), '\n'), MAX_INPUTS);
}

}  // namespace
