// The command line: options into the settings and the job state, names into the input list,
// and what does not fit reported with nothing queued.
#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"
#include "app/encode_or_decode.h"
#include "encode/name_forms.h"
#include "tests/app/shell_fixture.h"
#include "tests/support/test_files.h"
#include "tests/support/window_probe.h"

namespace {

class CommandLine : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    GetCurrentDirectoryA(sizeof saved, saved);
    SetCurrentDirectoryA(here.path().c_str());
  }
  void TearDown() override {
    FreeRecipients();
    SetCurrentDirectoryA(saved);
    ShellTest::TearDown();
  }
  CommandLineRequest Parse(const std::string& line) {
    last = ParseCommandLine(g_program.mainWindow, line.c_str());
    return last;
  }
  int Count() const { return static_cast<int>(last.inputs.size()); }
  // Input i, without the current folder that the parser put before a bare name.
  std::string Input(int i) const {
    const std::string prefix = here.File("");
    const std::string& path = last.inputs.at(static_cast<size_t>(i));
    return path.rfind(prefix, 0) == 0 ? path.substr(prefix.size()) : path;
  }
  ScratchDir here;
  char saved[MAX_PATH] = "";
  CommandLineRequest last;
  // Parses a line that must be refused; returns the message shown.
  std::string Refused(const std::string& line) {
    DialogProbe probe("Quorvane 32", IDOK);
    CommandLineRequest request = Parse(line);
    EXPECT_TRUE(request.refused);
    EXPECT_EQ(Count(), 0) << "nothing of a refused line is queued";
    return probe.Result().text;
  }
};

TEST_F(CommandLine, EncodeMethodLettersSetTheMethodAndMimeAndBinHexTheSingleFileStyle) {
  struct Case {
    const char* line;
    int method;
    int style;
  } cases[] = {{"/EU a", METHOD_UU, 7}, {"-ex a", METHOD_XX, 7}, {"/Em a", METHOD_MIME, 3}, {"-eb a", METHOD_BINHEX, 3}};
  for (const Case& c : cases) {
    ResetSettings();
    g_settings.encodetype = 7;
    g_settings.encodemethod = 0;
    ResetJobState();
    CommandLineRequest request = Parse(c.line);
    EXPECT_TRUE(request.encode) << c.line;
    EXPECT_EQ(g_settings.encodemethod, c.method) << c.line;
    EXPECT_EQ(g_settings.encodetype, c.style) << c.line;
    ASSERT_EQ(Count(), 1) << c.line;
    EXPECT_EQ(Input(0), "a");
  }
}

TEST_F(CommandLine, ALetterAfterEThatIsNoMethodStartsTheNextItem) {
  g_settings.encodemethod = METHOD_XX;
  Parse("/E/N file");
  EXPECT_EQ(g_settings.encodemethod, METHOD_XX);
  EXPECT_EQ(g_job.encodeRequested, 1);
  EXPECT_FALSE(g_job.interactive);
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Input(0), "file");
}

TEST_F(CommandLine, ClipboardJoinNoQuestionsAndAssociate) {
  g_settings.decodejoin = 0;
  CommandLineRequest request = Parse("  /c\t-J /n /R x.uue");
  EXPECT_TRUE(g_job.clipboardOutput);
  EXPECT_TRUE(request.encode);
  EXPECT_EQ(g_settings.decodejoin, 1);
  EXPECT_FALSE(g_job.interactive);
  EXPECT_TRUE(request.associate);
}

TEST_F(CommandLine, OptionsEndAtAnUnknownLetterWhichStartsTheNames) {
  Parse("/N /Q a b");
  ASSERT_EQ(Count(), 3);
  EXPECT_EQ(Input(1), "a");
  EXPECT_EQ(Input(2), "b");
}

TEST_F(CommandLine, NamesEndAtBlanksTabsAndCommasAndAQuoteWinsOverTheTextBeforeIt) {
  Parse("a.uue,b.uue\tc.uue");
  ASSERT_EQ(Count(), 3);
  EXPECT_EQ(Input(1), "b.uue");
  Parse("first.uue \"C:\\My Files\\second.uue\" third.uue");
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(Input(0), "C:\\My Files\\second.uue");
  EXPECT_EQ(Input(1), "third.uue");
  Parse("\"C:\\open ended.uue");
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Input(0), "C:\\open ended.uue");
  Parse("\"\" ,, ");
  EXPECT_EQ(Count(), 0) << "empty names are no inputs";
}

TEST_F(CommandLine, MailRecipientsAreParsedUpToTheFirstNameABlankEnds) {
  Parse("/M ann@x.org,bob@y.org file.zip");
  EXPECT_TRUE(g_job.mailOutput);
  EXPECT_EQ(g_job.encodeRequested, 1);
  ASSERT_EQ(g_job.recipientCount, 2);
  EXPECT_STREQ(g_job.recipients[1].name, "bob@y.org");
  EXPECT_STREQ(g_job.recipients[1].address, "SMTP:bob@y.org");
  EXPECT_EQ(g_job.recipients[0].recipientClass, 1u);
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Input(0), "file.zip");
  FreeRecipients();
  ResetJobState();
  Parse("-m@ file.zip");
  EXPECT_EQ(g_job.encodeRequested, 2);
  EXPECT_EQ(g_job.recipientCount, 0);
  EXPECT_EQ(Input(0), "file.zip");
}

// A bare name is taken in the current folder when the line is read, so that its outputs land
// beside it whatever the current folder is later.
TEST_F(CommandLine, NamesBecomeFullPathsInTheCurrentFolder) {
  Parse("/N /J part1.uue sub\\part2.uue C:\\elsewhere\\p3.uue");
  ASSERT_EQ(Count(), 3);
  EXPECT_EQ(last.inputs[0], here.File("part1.uue"));
  EXPECT_EQ(last.inputs[1], here.File("sub\\part2.uue"));
  EXPECT_EQ(last.inputs[2], "C:\\elsewhere\\p3.uue");
}

TEST_F(CommandLine, TheOutputNameEndsAtABlankSoThatNamesCanFollow) {
  Parse("/N /O out.uue photo.jpg");
  EXPECT_STREQ(g_job.outputNameGiven, "out.uue");
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Input(0), "photo.jpg");
  Parse("/O \"C:\\out dir\\x.uue\" in.bin");
  EXPECT_STREQ(g_job.outputNameGiven, "C:\\out dir\\x.uue");
  EXPECT_EQ(Input(0), "in.bin");
  Parse("/O");  // at the end of the line: nothing read past it
  EXPECT_STREQ(g_job.outputNameGiven, "");
}

TEST_F(CommandLine, WhatDoesNotFitIsReportedAndNothingIsQueued) {
  std::string names;
  for (int i = 0; i < MAX_INPUTS + 1; ++i) names += " f" + std::to_string(i) + ".zip";
  EXPECT_EQ(Refused("/N" + names), "Too many files on the command line: at most 128 can be processed at a time.");

  std::string recipients = "/M ";
  for (int i = 0; i < MAX_RECIPIENTS + 1; ++i) recipients += "r" + std::to_string(i) + "@x.org,";
  EXPECT_EQ(Refused(recipients + "last a.zip"),
            "Too many e-mail recipients on the command line: at most 32 can be named.");
  EXPECT_EQ(g_job.recipientCount, 0);

  EXPECT_EQ(Refused("/O " + std::string(PATH_ROOM, 'o') + " a.zip"),
            "The output name given on the command line is longer than 259 characters.");
  EXPECT_EQ(Refused("a.zip " + std::string(PATH_ROOM, 'n')),
            "A file name on the command line is longer than 259 characters.");

  names.clear();
  for (int i = 0; i < MAX_INPUTS; ++i) names += " f" + std::to_string(i) + ".zip";
  EXPECT_FALSE(Parse(names).refused) << "128 names fit";
  EXPECT_EQ(Count(), MAX_INPUTS);
}

TEST(EncodeOrDecode, TheExtensionTableIgnoresCaseAndComparesTheWholeExtension) {
  EXPECT_EQ(ExtensionType("C:\\in\\x.UUE"), 1);
  EXPECT_EQ(ExtensionType("x.uu"), 1);
  EXPECT_EQ(ExtensionType("x.Xx"), 2);
  EXPECT_EQ(ExtensionType("x.b64"), 3);
  EXPECT_EQ(ExtensionType("x.hex"), 4);
  EXPECT_EQ(ExtensionType("x.uue.bak"), 0);
  EXPECT_EQ(ExtensionType("x.uuencoded"), 0);
  EXPECT_EQ(ExtensionType("noextension"), 0);
  for (int type = 1; type <= 4; ++type)
    EXPECT_EQ(ExtensionType((std::string("x") + DefaultExtension(type)).c_str()), type)
        << "the encoder's extension is the table's first for its type";
}

TEST(EncodeOrDecode, TheDecodeMethodDecidesAndSetsTheStartingType) {
  ResetSettings();
  ResetJobState();
  g_settings.decodemethod = DECODE_BY_NAME;
  EXPECT_EQ(DecideEncodeOrDecode("x.zip", OP_NONE), OP_ENCODE);
  EXPECT_EQ(DecideEncodeOrDecode("x.HQX", OP_NONE), OP_DECODE);
  EXPECT_EQ(g_job.encodingType, TYPE_BINHEX);
  g_settings.decodemethod = DECODE_BY_DATA;
  EXPECT_EQ(DecideEncodeOrDecode("x.zip", OP_ENCODE), OP_ENCODE);
  EXPECT_EQ(DecideEncodeOrDecode("x.zip", OP_NONE), OP_DECODE);
  EXPECT_EQ(g_job.encodingType, TYPE_AUTO);
  g_settings.decodemethod = METHOD_XX;
  EXPECT_EQ(DecideEncodeOrDecode("x.zip", OP_NONE), OP_DECODE);
  EXPECT_EQ(g_job.encodingType, TYPE_XX);
  g_settings.decodemethod = 0;
  EXPECT_EQ(DecideEncodeOrDecode("x.uue", OP_NONE), OP_ENCODE);
  g_settings.decodemethod = METHOD_UU;
  g_job.encodeRequested = 1;
  EXPECT_EQ(DecideEncodeOrDecode("x.uue", OP_NONE), OP_ENCODE) << "an encode option wins";
  ResetSettings();
  ResetJobState();
}

}  // namespace
