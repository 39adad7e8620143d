// What the decoder does with the answers to its recovery questions: invalid lines skipped,
// decoded anyway or the decode aborted, answers remembered for one part only; a retry with
// a chosen style; every style tried in turn; a file that holds nothing encoded encoded
// instead. The questions come from the scripted UI here; the dialogs have tests of their own.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "decode/recovery_questions.h"
#include "encode/header_styles.h"
#include "tests/engine/decode_fixture.h"
#include "tests/engine/encoded_parts.h"

namespace {

const size_t kLineBytes = 45;
const char kPieceTogether[] =
    "Unable to Determine File Format for %s.\r\nYou must manually piece together the files in\r\n"
    "sequential order and strip out any email or\r\nusenet header data before you can retry decoding.";

// Puts a lower-case letter, which no UU line may hold, into the `n`th line (0-based) of
// `text` that starts with `lead`.
std::string Damage(std::string text, int n, char lead = 'M') {
  size_t at = 0;
  for (int seen = -1;; at = text.find('\n', at) + 1) {
    if (text[at] == lead && ++seen == n) break;
  }
  text[at + 5] = 'a';
  return text;
}

std::string LineOf(const std::string& text, int index) {
  size_t at = 0;
  for (int i = 0; i < index; ++i) at = text.find('\n', at) + 1;
  return text.substr(at, text.find('\n', at) - at);
}

class DecodeRecoveryTest : public DecodeTest {
 protected:
  void SetUp() override {
    DecodeTest::SetUp();
    bytes = Pattern(4 * kLineBytes + 20);
  }
  // Decodes interactively with the answers given, as UU unless said otherwise.
  int Run(const std::string& name, const std::string& text, std::vector<int> answers, int type = TYPE_UU) {
    g_ui.recoveryAnswers = std::move(answers);
    input = Input(name, text);
    return Decode(input, 1, type);
  }
  std::string Output(const std::string& name) { return ReadWholeFile(dir.File(name)); }
  std::vector<RecoveryQuestion> Asked() const {
    std::vector<RecoveryQuestion> asked;
    for (const RecordedQuestion& q : g_ui.recoveryQuestions) asked.push_back(q.which);
    return asked;
  }
  // The bytes with data line `line` (0-based) left out.
  std::string Without(int line) const { return bytes.substr(0, line * kLineBytes) + bytes.substr((line + 1) * kLineBytes); }
  std::string bytes;
  std::string input;
};

// The damaged line comes after whole lines that are decoded in a run, which count too.
TEST_F(DecodeRecoveryTest, TheQuestionNamesTheInputTheLineAndTheFault) {
  const std::string text = Damage(Uuencode("bad.bin", bytes), 3);
  ASSERT_EQ(Run("bad.uue", text, {ANSWER_SKIP_LINE}), 0) << g_decode.errorText;
  ASSERT_EQ(g_ui.recoveryQuestions.size(), 1u);
  EXPECT_EQ(g_ui.recoveryQuestions[0].text,
            "Input File: bad.uue\r\nLine 5: Invalid UU Encoded Data!\r\nInvalid encoded data byte (0x61).\r\n"
            "Offending Line Follows within Curly Brackets:\r\n\r\n{ " + LineOf(text, 4) + " }");
  EXPECT_EQ(Output("bad.bin"), Without(3));
  // Without prompts nothing is asked and the line is decoded as well as it goes.
  g_ui.Reset();
  DeleteFileA(dir.File("bad.bin").c_str());
  ASSERT_EQ(Decode(input, 0, TYPE_UU), 0);
  EXPECT_TRUE(g_ui.recoveryQuestions.empty());
  EXPECT_EQ(Output("bad.bin").size(), bytes.size());
}

TEST_F(DecodeRecoveryTest, SkipAndDecodeAnswersAndHowOftenTheyAreAsked) {
  // Lines 1 and 2 are damaged; "this line" answers are asked for each, "all" answers once.
  const std::string text = Damage(Damage(Uuencode("bad.bin", bytes), 1), 2);
  struct Case {
    int answer;
    size_t asked;
    size_t size;
    const char* remark;
  };
  const char* skipped = "\r\n\r\nPossibly not all data included in decoding.";
  const char* attempted = "\r\n\r\nDecode attempted in spite of integrity errors.";
  for (const Case& c : {Case{ANSWER_SKIP_LINE, 2, bytes.size() - 2 * kLineBytes, skipped},
                        Case{ANSWER_SKIP_ALL, 1, bytes.size() - 2 * kLineBytes, skipped},
                        Case{ANSWER_DECODE_LINE, 2, bytes.size(), attempted},
                        Case{ANSWER_DECODE_ALL, 1, bytes.size(), attempted}}) {
    g_ui.Reset();
    ResetJobState();
    ASSERT_EQ(Run("bad.uue", text, {c.answer, c.answer}), 0) << c.answer << ": " << g_decode.errorText;
    EXPECT_EQ(g_ui.recoveryQuestions.size(), c.asked) << c.answer;
    const std::string out = Output("bad.bin");
    ASSERT_EQ(out.size(), c.size) << c.answer;
    // Whatever the answer, the undamaged lines come out exactly.
    EXPECT_EQ(out.substr(0, kLineBytes), bytes.substr(0, kLineBytes)) << c.answer;
    EXPECT_EQ(out.substr(out.size() - kLineBytes - 20), bytes.substr(bytes.size() - kLineBytes - 20)) << c.answer;
    EXPECT_TRUE(g_job.qualifiedResult);
    EXPECT_STREQ(g_job.resultRemark, c.remark);
  }
  g_ui.Reset();
  ASSERT_EQ(Run("one.uue", Damage(Uuencode("one.bin", bytes), 2), {ANSWER_SKIP_LINE}), 0);
  EXPECT_EQ(Output("one.bin"), Without(2));
}

// A base64 line refused part-way is decoded anyway or skipped from the group position it
// started with: only its own bytes can differ, and every line after it comes out exactly.
TEST_F(DecodeRecoveryTest, ARefusedBase64LineAffectsOnlyItsOwnBytes) {
  const size_t lineBytes = 57;
  const std::string data = Pattern(512);
  std::string body = Base64Lines(data);
  body.insert(body.find('\n') + 11, "*");  // a stray character in the second line
  const std::string text =
      "Content-Type: application/octet-stream; name=b.bin\nContent-Transfer-Encoding: base64\n\n" + body + "\n";
  const std::string rest = data.substr(2 * lineBytes);
  for (int answer : {ANSWER_DECODE_LINE, ANSWER_SKIP_LINE}) {
    g_ui.Reset();
    ASSERT_EQ(Run("b.txt", text, {answer}, TYPE_AUTO), 0) << answer << ": " << g_decode.errorText;
    EXPECT_EQ(g_ui.recoveryQuestions.size(), 1u) << answer;
    const std::string out = Output("b.bin");
    const size_t kept = answer == ANSWER_SKIP_LINE ? lineBytes : 2 * lineBytes;
    ASSERT_EQ(out.size(), kept + rest.size()) << answer;
    EXPECT_EQ(out.substr(0, lineBytes), data.substr(0, lineBytes)) << answer;
    EXPECT_EQ(out.substr(kept), rest) << answer;
    DeleteFileA(dir.File("b.bin").c_str());
  }
}

TEST_F(DecodeRecoveryTest, AbortAndUnknownAnswersLeaveNoOutput) {
  const std::string text = Damage(Uuencode("bad.bin", bytes), 2);
  for (int answer : {static_cast<int>(ANSWER_ABORT), 0, -1, 1234}) {
    g_ui.Reset();
    ResetJobState();
    EXPECT_EQ(Run("bad.uue", text, {answer}), RESULT_CANCELLED) << answer;
    EXPECT_EQ(ListFolder(dir.path()), "bad.uue\n") << answer;
    EXPECT_EQ(ReadWholeFile(input), text);
  }
}

TEST_F(DecodeRecoveryTest, AnAnswerHoldsForTheRestOfItsPartOnly) {
  const std::string data = Pattern(20000);
  std::vector<std::string> parts = EncodeWithChecksums(dir.File("data.bin"), data, STYLE_SIMTEL);
  ASSERT_GE(parts.size(), 3u);
  // Two damaged lines in each of parts 1 and 2.
  for (int p : {0, 1}) parts[p] = Damage(Damage(parts[p], 3), 4);
  std::string text;
  for (const std::string& p : parts) text += p;
  ASSERT_EQ(Run("post.txt", text, {ANSWER_SKIP_ALL, ANSWER_SKIP_ALL}, TYPE_AUTO), 0) << g_decode.errorText;
  EXPECT_EQ(Asked(), (std::vector<RecoveryQuestion>{ASKED_ABOUT_LINE, ASKED_ABOUT_LINE}));
  EXPECT_EQ(Output("data.bin").size(), data.size() - 4 * kLineBytes);
  EXPECT_EQ(ListFolder(dir.path()), "data.bin\npost.txt\n");  // no part file left

  // Aborting in part 2 deletes part 1's temporary file as well.
  g_ui.Reset();
  ResetJobState();
  DeleteFileA(dir.File("data.bin").c_str());
  EXPECT_EQ(Run("post.txt", text, {ANSWER_SKIP_ALL, ANSWER_ABORT}, TYPE_AUTO), RESULT_CANCELLED);
  EXPECT_EQ(ListFolder(dir.path()), "post.txt\n");
}

TEST_F(DecodeRecoveryTest, RetryWithAChosenStyleAcceptsOnlyThatStyle) {
  const std::string data = Pattern(9000);
  std::vector<std::string> parts = EncodeWithChecksums(dir.File("data.bin"), data, STYLE_X_FILE);
  ASSERT_GE(parts.size(), 2u);
  std::string text;
  for (const std::string& p : parts) text += p;
  g_settings.decodeautodetect = 0;
  g_settings.decodetype = STYLE_SIMTEL;
  ASSERT_EQ(Run("post.txt", text, {STYLE_X_FILE}, TYPE_AUTO), 0) << g_decode.errorText;
  EXPECT_EQ(Output("data.bin"), data);
  ASSERT_EQ(Asked(), std::vector<RecoveryQuestion>{ASKED_HOW_TO_RETRY});
  EXPECT_EQ(g_ui.recoveryQuestions[0].text,
            "Unable to Determine File Format for " + input + ".\r\nCannot Find Any Encoding Header Information.");
  EXPECT_EQ(g_decode.forcedStyle, STYLE_X_FILE);

  // A style other than the posting's finds nothing again; the second question gives up.
  g_ui.Reset();
  DeleteFileA(dir.File("data.bin").c_str());
  EXPECT_EQ(Run("post.txt", text, {STYLE_REM, RETRY_ABORT}, TYPE_AUTO), RESULT_REPORTED);
  EXPECT_EQ(g_ui.QuestionsAsked(ASKED_HOW_TO_RETRY), 2);
  EXPECT_NE(std::find(g_ui.statuses.begin(), g_ui.statuses.end(), "Looking for R.E.M. Header in post.txt ..."),
            g_ui.statuses.end());
  EXPECT_EQ(ListFolder(dir.path()), "post.txt\n");
}

TEST_F(DecodeRecoveryTest, AnswersOutsideTheStyleRowsGiveUp) {
  for (int answer : {2, 21, -1, 604}) {
    g_ui.Reset();
    EXPECT_EQ(Run("plain.txt", "just some text\nand more\n", {answer}, TYPE_AUTO), RESULT_REPORTED) << answer;
    EXPECT_EQ(g_ui.QuestionsAsked(ASKED_HOW_TO_RETRY), 1) << answer;
  }
}

TEST_F(DecodeRecoveryTest, TryAllRunsEveryStyleThenAsksToPieceTogether) {
  ASSERT_EQ(Run("junk.txt", "just some text\nand more\n", {RETRY_TRY_ALL}, TYPE_AUTO), RESULT_REPORTED);
  EXPECT_EQ(Asked(), std::vector<RecoveryQuestion>{ASKED_HOW_TO_RETRY});
  for (int style = STYLE_SINGLE; style <= STYLE_REM; ++style) {
    const std::string status = std::string("Looking for ") + HeaderStyleName(style) + " Header in junk.txt ...";
    EXPECT_NE(std::find(g_ui.statuses.begin(), g_ui.statuses.end(), status), g_ui.statuses.end()) << style;
  }
  char expected[512];
  std::snprintf(expected, sizeof expected, kPieceTogether, input.c_str());
  ASSERT_FALSE(g_ui.messages.empty());
  EXPECT_EQ(g_ui.messages.back().text, expected);
  EXPECT_EQ(g_ui.messages.back().flags & 0xF0u, static_cast<UINT>(MB_ICONHAND));
}

// Trying every style, a style whose header matched but whose data holds an invalid line
// ends its pass without a question and the next style is tried; nothing half-written stays.
TEST_F(DecodeRecoveryTest, TryAllPassesOverAStyleWithInvalidLines) {
  g_settings.decodeautodetect = 0;
  g_settings.decodetype = STYLE_X_FILE;
  const std::string text = Damage(Uuencode("bad.bin", bytes), 1);
  ASSERT_EQ(Run("bad.uue", text, {RETRY_TRY_ALL}), RESULT_REPORTED);
  EXPECT_EQ(Asked(), std::vector<RecoveryQuestion>{ASKED_HOW_TO_RETRY});
  EXPECT_TRUE(g_ui.SawMessageContaining("You must manually piece together the files"));
  EXPECT_EQ(ListFolder(dir.path()), "bad.uue\n");
  EXPECT_FALSE(g_job.qualifiedResult);
}

TEST_F(DecodeRecoveryTest, APlainFileOfABatchMayBeEncodedInstead) {
  const std::string plain = "just some text\nand more\n";
  struct Case {
    std::vector<int> answers;
    int result;
    std::vector<RecoveryQuestion> asked;
  };
  const std::vector<RecoveryQuestion> both = {ASKED_ENCODE_OR_DECODE, ASKED_HOW_TO_RETRY};
  for (const Case& c : {Case{{WHICH_CODE_ENCODE}, RESULT_ENCODE_INSTEAD, {ASKED_ENCODE_OR_DECODE}},
                        Case{{WHICH_CODE_CANCEL}, RESULT_CANCELLED, {ASKED_ENCODE_OR_DECODE}},
                        Case{{-1}, RESULT_CANCELLED, {ASKED_ENCODE_OR_DECODE}},
                        Case{{WHICH_CODE_DECODE, RETRY_ABORT}, RESULT_REPORTED, both}}) {
    g_ui.Reset();
    ResetJobState();
    g_job.multiInput = true;
    EXPECT_EQ(Run("plain.txt", plain, c.answers, TYPE_AUTO), c.result) << c.answers[0];
    EXPECT_EQ(Asked(), c.asked) << c.answers[0];
    EXPECT_EQ(ReadWholeFile(input), plain);
  }
  // Not offered for a single input, for mail inputs, or with a chosen method or style.
  for (int variant = 0; variant < 4; ++variant) {
    g_ui.Reset();
    ResetSettings();
    ResetJobState();
    g_job.multiInput = variant != 0;
    g_job.mailInputs = variant == 1;
    if (variant == 2) g_settings.decodemethod = METHOD_UU;
    if (variant == 3) g_settings.decodeautodetect = 0;
    EXPECT_EQ(Run("plain.txt", plain, {RETRY_ABORT}, TYPE_AUTO), RESULT_REPORTED) << variant;
    EXPECT_EQ(Asked(), std::vector<RecoveryQuestion>{ASKED_HOW_TO_RETRY}) << variant;
  }
}

}  // namespace
