// "Encode to E-mail" (Shift+F2) from the menu, against the test mail store: the address
// dialog, the open dialog, one message per part, and no mail job left behind afterwards,
// whether it went out, failed or was cancelled.
#include <functional>
#include <string>

#include "resources/resource.h"
#include "tests/app/mail_store_fixture.h"

namespace {

const char kCaption[] = "Quorvane 32";

std::function<void(HWND)> Choosing(const std::string& path) {
  return [path](HWND dialog) {
    HWND field = GetDlgItem(dialog, 0x47c);
    if (!field) field = GetDlgItem(dialog, 0x480);
    SetWindowTextA(field, path.c_str());
  };
}

class MailCommands : public MailStoreTest {
 protected:
  void SetUp() override {
    MailStoreTest::SetUp();
    g_settings.usedefaultnames = 1;
    g_settings.nostatusmessages = 1;
    g_settings.encodemethod = METHOD_UU;
    g_settings.encodetype = 5;
    g_settings.encodeoutputsize = 4500;
    CreateDirectoryA(store.File("files").c_str(), nullptr);
    input = store.File("files\\in.bin");
    WriteWholeFile(input, std::string(9000, 'q'));
  }
  void EncodeToMail() { SendMessageA(g_program.mainWindow, WM_COMMAND, IDM_ENCODE_MAIL, 0); }
  void ExpectNoMailJobLeft() {
    EXPECT_FALSE(g_job.mailOutput);
    EXPECT_EQ(g_mail.session, 0u);
    EXPECT_EQ(g_mail.recipientCount, 0u);
    EXPECT_EQ(CountCalls("MAPILogon"), CountCalls("MAPILogoff"));
  }
  std::string input;
};

TEST_F(MailCommands, EachPartGoesToTheChosenRecipientsAndNothingToFiles) {
  Config("pick=carol\n");
  DialogProbe book("Test Address Book", IDOK);
  DialogProbe open("Encode", IDOK, Choosing(input));
  EncodeToMail();
  EXPECT_TRUE(book.Result().found);
  EXPECT_TRUE(open.Result().found);
  EXPECT_EQ(ListFolder(store.File("sent")), "0001.msg\n0002.msg\n0003.msg\n");
  for (const char* name : {"0001", "0002", "0003"}) {
    const std::string sent = ReadWholeFile(store.File(std::string("sent\\") + name + ".msg"));
    EXPECT_NE(sent.find("\nTo: carol|SMTP:carol\n"), std::string::npos) << name;
    EXPECT_EQ(sent.find("Attach:"), std::string::npos) << name;
  }
  EXPECT_EQ(ListFolder(store.File("files")), "in.bin\n");
  ExpectNoMailJobLeft();
}

TEST_F(MailCommands, ARefusedAddressDialogStopsBeforeTheOpenDialog) {
  Config("fail.MAPIAddress=14\n");
  DialogProbe box(kCaption, IDOK);
  DialogProbe open("Encode", IDCANCEL, nullptr, kNoDialogMs);
  EncodeToMail();
  EXPECT_EQ(box.Result().text, "Cannot Choose E-mail Recipients because Unknown Recipient");
  EXPECT_FALSE(open.Result().found);
  ExpectNoMailJobLeft();
}

TEST_F(MailCommands, ACancelledOpenDialogLeavesTheNextEncodeGoingToAFile) {
  Config("pick=carol\n");
  DialogProbe book("Test Address Book", IDOK);
  DialogProbe open("Encode", IDCANCEL);
  EncodeToMail();
  EXPECT_TRUE(open.Result().found);
  ExpectNoMailJobLeft();
}

TEST_F(MailCommands, AFailedSendIsSaidAndEndsTheMailJob) {
  Config("pick=carol\nfail.MAPISendMail=23\n");
  DialogProbe book("Test Address Book", IDOK);
  DialogProbe open("Encode", IDOK, Choosing(input));
  DialogProbe box(kCaption, IDOK, nullptr, 8000);
  EncodeToMail();
  EXPECT_EQ(box.Result().text, "Sending E-mail Message Failed because Network Failure.");
  EXPECT_EQ(CountCalls("MAPISendMail"), 1);
  ExpectNoMailJobLeft();
}

}  // namespace
