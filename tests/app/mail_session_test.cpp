// The mail session layer against a real Simple MAPI provider loaded through the platform's
// MAPI library: sessions, result texts and boxes, recipients, the mailbox search and the
// saving of attachments.
#include <cstring>
#include <string>

#include "core/job_state.h"
#include "core/settings.h"
#include "tests/app/mail_store_fixture.h"

namespace {

const char kCaption[] = "Quorvane 32";

class MailSession : public MailStoreTest {
 protected:
  // Runs `call`, answering the box it shows (none expected when `expectBox` is false).
  template <typename Call>
  ProbedWindow WithBox(bool expectBox, Call call) {
    DialogProbe probe(kCaption, IDOK, nullptr, expectBox ? 5000 : kNoDialogMs);
    call();
    return probe.Result();
  }
};

TEST(MailErrorTextTest, CodesWithoutATextOfTheirOwnAreUnspecified) {
  EXPECT_STREQ(MailErrorText(0), "E-mail Success");
  EXPECT_STREQ(MailErrorText(16), "No Matching Messages Found");
  EXPECT_STREQ(MailErrorText(26), "Feature Not Supported");
  for (ULONG code : {7ul, 27ul, 0xFFFFFFFFul}) EXPECT_STREQ(MailErrorText(code), "Unspecified Mail System Error");
}

TEST_F(MailSession, SecondLogonReusesTheSessionAndLogoffClosesIt) {
  EXPECT_EQ(MailLogon(g_program.mainWindow, true, MAIL_LOGON_ASK), 0u);
  EXPECT_EQ(Status(), "Successfully Logged into E-mail System.");
  EXPECT_EQ(MailLogon(g_program.mainWindow, true, MAIL_LOGON_ASK), 0u);
  EXPECT_EQ(CountCalls("MAPILogon"), 1);
  EXPECT_NE(Calls().find("MAPILogon flags=0x3 ui=1"), std::string::npos);
  EXPECT_EQ(MailLogoff(g_program.mainWindow, true), 0u);
  EXPECT_EQ(g_mail.session, 0u);
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(MailLogoff(g_program.mainWindow, true), 0u);  // nothing open: no call
  EXPECT_EQ(CountCalls("MAPILogoff"), 1);
}

TEST_F(MailSession, LogonFailuresAreSaidExceptCancelAndAlreadyLoggedOn) {
  struct Case {
    ULONG code;
    bool box;
  } cases[] = {{1, false}, {3, false}, {2, true}, {23, true}};
  for (const Case& c : cases) {
    Config("fail.MAPILogon=" + std::to_string(c.code) + "\n");
    ULONG result = 0;
    ProbedWindow box = WithBox(c.box, [&] { result = MailLogon(g_program.mainWindow, true, MAIL_LOGON_ASK); });
    EXPECT_EQ(result, c.code);
    EXPECT_EQ(box.found, c.box) << c.code;
    if (c.box) {
      EXPECT_EQ(box.text, std::string("Unable to Login for E-mail because ") + MailErrorText(c.code) + ".");
      EXPECT_EQ(box.icon, ProbeIcon::Hand);
    }
    EXPECT_EQ(g_mail.session, 0u);
    EXPECT_EQ(Status(), "");
  }
  // Without the show-errors flag every failure is silent.
  Config("fail.MAPILogon=2\n");
  EXPECT_FALSE(WithBox(false, [&] { MailLogon(g_program.mainWindow, false, MAIL_LOGON_DEFAULT); }).found);
}

TEST_F(MailSession, EachCallSaysItsOwnFailure) {
  struct Case {
    const char* function;
    ULONG code;
    std::string text;
  } cases[] = {
      {"MAPIAddress", 14, "Cannot Choose E-mail Recipients because Unknown Recipient"},
      {"MAPISendMail", 23, "Sending E-mail Message Failed because Network Failure."},
      {"MAPIReadMail", 17, "Reading E-mail Message Failed because Invalid Message Identifier."},
      {"MAPIFindNext", 2, "Browsing E-mail Messages Failed because Non-Specific Failure."},
      {"MAPILogoff", 19, "Logoff for E-mail Failed because Invalid E-mail Session."},
  };
  HWND w = g_program.mainWindow;
  for (const Case& c : cases) {
    Config("");
    ASSERT_EQ(MailLogon(w, true, MAIL_LOGON_ASK), 0u);
    Config(std::string("fail.") + c.function + "=" + std::to_string(c.code) + "\n");
    ULONG result = 0;
    ProbedWindow box = WithBox(true, [&] {
      MapiMessage message;
      MapiMessage* read = nullptr;
      char id[MAIL_ID_ROOM] = "0001";
      const std::string f = c.function;
      if (f == "MAPIAddress") result = ChooseMailRecipients(w, true);
      if (f == "MAPISendMail") FillMailMessage(message, "s", "t"), result = SendMailMessage(w, true, message, 0);
      if (f == "MAPIReadMail") result = ReadMailMessage(w, true, id, MAIL_READ_FULL, &read);
      if (f == "MAPIFindNext") result = FindNextMailMessage(w, true, false, id, 0);
      if (f == "MAPILogoff") result = MailLogoff(w, true);
      EXPECT_EQ(read, nullptr);
    });
    EXPECT_EQ(result, c.code) << c.function;
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.icon, ProbeIcon::Hand) << c.function;
    Config("");
    MailLogoff(w, false);
    EXPECT_EQ(g_mail.session, 0u);
  }
}

TEST_F(MailSession, AnEmptyMailboxIsSaidOnceAndTheEndOfASearchIsSilent) {
  HWND w = g_program.mainWindow;
  ASSERT_EQ(MailLogon(w, true, MAIL_LOGON_ASK), 0u);
  char id[MAIL_ID_ROOM];
  ProbedWindow box = WithBox(true, [&] { EXPECT_EQ(FindNextMailMessage(w, false, true, id, 0), 16u); });
  EXPECT_EQ(box.text, "No Matching Messages Found.");
  EXPECT_EQ(box.icon, ProbeIcon::Exclamation);
  Inbox("0001", "Subject: one\n\nbody\n");
  EXPECT_FALSE(WithBox(false, [&] {
                 EXPECT_EQ(FindNextMailMessage(w, true, true, id, 0), 0u);
                 EXPECT_STREQ(id, "0001");
                 EXPECT_EQ(FindNextMailMessage(w, true, false, id, 0), 16u);
               }).found);
  EXPECT_NE(Calls().find("seed=0001 flags=0x4000 type=(null)"), std::string::npos);
}

TEST_F(MailSession, RecipientsComeFromTheAddressDialogOrTheCommandLine) {
  HWND w = g_program.mainWindow;
  ASSERT_EQ(MailLogon(w, true, MAIL_LOGON_ASK), 0u);
  Config("pick=carol,dave\n");
  DialogProbe book("Test Address Book", IDOK);
  ASSERT_EQ(ChooseMailRecipients(w, true), 0u);
  EXPECT_TRUE(book.Result().found);
  ASSERT_EQ(g_mail.recipientCount, 2u);
  EXPECT_STREQ(g_mail.recipients[1].lpszAddress, "SMTP:dave");
  EXPECT_EQ(g_job.mailRecipientCount, 2);
  ReleaseMailRecipients();
  EXPECT_EQ(g_job.mailRecipientCount, 0);

  // Nobody chosen: refused with a warning when errors are shown, accepted otherwise.
  Config("pick=\n");
  ULONG result = 0;
  {
    DialogProbe empty("Test Address Book", IDOK);
    ProbedWindow box = WithBox(true, [&] { result = ChooseMailRecipients(w, true); });
    EXPECT_EQ(box.text, "Must Choose at least one E-mail Recipient.");
    EXPECT_EQ(box.icon, ProbeIcon::Exclamation);
  }
  EXPECT_EQ(result, 25u);
  {
    DialogProbe empty("Test Address Book", IDOK);
    EXPECT_EQ(ChooseMailRecipients(w, false), 0u);
  }
  // Cancelling the address dialog is no failure to report.
  {
    DialogProbe cancel("Test Address Book", IDCANCEL);
    EXPECT_FALSE(WithBox(false, [&] { result = ChooseMailRecipients(w, true); }).found);
  }
  EXPECT_EQ(result, 1u);
}

TEST_F(MailSession, SentMessageCarriesTheSenderTypeAndNoAttachment) {
  HWND w = g_program.mainWindow;
  char name[] = "erin", address[] = "SMTP:erin";
  g_job.recipients[0] = {0, MAPI_TO, name, address, 0, nullptr};
  g_job.recipientCount = 1;
  ASSERT_EQ(MailLogon(w, true, MAIL_LOGON_DEFAULT), 0u);
  UseNamedRecipients();
  MapiMessage message;
  FillMailMessage(message, "a subject", "line 1\r\nline 2\r\n");
  EXPECT_EQ(SendMailMessage(w, true, message, 0), 0u);
  g_job.recipientCount = 0;
  ReleaseMailRecipients();
  EXPECT_EQ(ReadWholeFile(store.File("sent\\0001.msg")),
            "Subject: a subject\nFrom: Zentrel|SMTP:Zentrel@quorvane.invalid\nTo: erin|SMTP:erin\n"
            "Date: (none)\nType: Zentrel32\nFlags: 1\n\nline 1\r\nline 2\r\n");
  EXPECT_NE(Calls().find("MAPISendMail session=" + std::to_string(g_mail.session) + " flags=0x0 recipients=1 files=0"),
            std::string::npos);
}

// Attachment names from the sender never choose the folder; OLE attachments are skipped;
// every provider temporary file goes.
TEST_F(MailSession, AttachmentsAreSavedUnderCleanedNames) {
  HWND w = g_program.mainWindow;
  const std::string out = store.File("out");
  CreateDirectoryA(out.c_str(), nullptr);
  g_settings.decodedirselect = DIR_CHOSEN;
  snprintf(g_settings.decodedir, sizeof g_settings.decodedir, "%s", out.c_str());
  g_settings.usedefaultnames = 1;
  WriteWholeFile(store.File("a1"), "first");
  WriteWholeFile(store.File("a2"), "second");
  WriteWholeFile(store.File("a3"), "third");
  WriteWholeFile(store.File("a4"), "fourth");
  WriteWholeFile(store.File("a5"), "ole");
  Inbox("0001",
        "Subject: files\nAttach: 0|..\\..\\evil.exe|a1\nAttach: 0|C:\\Windows\\system.ini|a2\n"
        "Attach: 0|\\\\host\\share\\note.txt|a3\nAttach: 0||a4\nAttach: 1|picture.bmp|a5\n");
  ASSERT_EQ(MailLogon(w, true, MAIL_LOGON_ASK), 0u);
  MapiMessage* message = nullptr;
  ASSERT_EQ(ReadMailMessage(w, true, "0001", MAIL_READ_FULL, &message), 0u);
  ASSERT_EQ(message->nFileCount, 5u);
  EXPECT_EQ(SaveMailAttachments(w, *message), 0);
  MapiFree(message);
  EXPECT_EQ(ListFolder(out), "DontKnow.Yet\nevil.exe\nnote.txt\nsystem.ini\n");
  EXPECT_EQ(ReadWholeFile(store.File("out\\evil.exe")), "first");
  EXPECT_EQ(ReadWholeFile(store.File("out\\DontKnow.Yet")), "fourth");
  EXPECT_EQ(ListFolder(temp.path()), "");
  EXPECT_TRUE(PathExists(store.File("inbox\\0001.read")));
}

}  // namespace
