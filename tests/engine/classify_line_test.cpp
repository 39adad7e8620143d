// Line classification while decoding (data, trailers, "end", checksum and blank lines by
// format and style) and the separators between header and data.
#include <string>

#include "decode/line_classify.h"
#include "encode/header_styles.h"
#include "tests/engine/decode_fixture.h"

namespace {

class ClassifyLineTest : public DecodeTest {
 protected:
  int Classify(const std::string& line, int style, int format, const std::string& rest = "") {
    Line(line, format);
    g_decode.style = style;
    return ClassifyDecodeLine(g_decode.line, currentPart, Following(rest), &part, &total);
  }
  bool Separator(const std::string& line, int style, const std::string& rest = "") {
    Line(line, TYPE_UU);
    g_decode.style = style;
    return IsSeparatorLine(g_decode.line, Following(rest));
  }
  int currentPart = 2;
  int part = -1, total = -1;
};

TEST_F(ClassifyLineTest, EndStatementsAndWhatTheyFix) {
  g_partTotal = 0;
  EXPECT_EQ(Classify("end\r\n", STYLE_SINGLE, TYPE_UU), EndStatement);
  EXPECT_EQ(part, 1);
  EXPECT_EQ(total, 1);
  EXPECT_EQ(g_currentPart->calculatedSize, 4);
  EXPECT_EQ(Classify("*END \n", STYLE_SINGLE, TYPE_UU), EndStatement);
  EXPECT_EQ(Classify("end", STYLE_SINGLE, TYPE_UU), EndStatement);  // last text, no line end
  EXPECT_EQ(Classify("endless\n", STYLE_SINGLE, TYPE_XX), DataLine);
  EXPECT_EQ(Classify("END --- cut here ---\n", STYLE_SINGLE, TYPE_UU), PartTrailer);
  EXPECT_EQ(Classify("end\n", STYLE_COMP_BINARIES, TYPE_UU), EndStatement);
  EXPECT_EQ(g_partTotal, 2);  // the part holding "end" is the last
  EXPECT_EQ(Classify("end\n", STYLE_WINCODE, TYPE_UU, "\n\nsum -r/size 1/2\n"), EndStatement);
  EXPECT_STREQ(g_decode.line, "sum -r/size 1/2\n");  // left for the next state
}

TEST_F(ClassifyLineTest, BlankLinesByFormat) {
  EXPECT_EQ(Classify(" \r\n", STYLE_SINGLE, TYPE_UU), DataLine);  // a UU line of length zero
  EXPECT_EQ(Classify("\r\n", STYLE_SINGLE, TYPE_UU), BlankLine);
  EXPECT_EQ(Classify(" \n", STYLE_SINGLE, TYPE_XX), BlankLine);
  EXPECT_EQ(Classify("\t\n", STYLE_SINGLE, TYPE_UU), BlankLine);
  EXPECT_EQ(Classify("\n", STYLE_SINGLE, TYPE_MIME), EndStatement);
  EXPECT_EQ(part, 1);
  EXPECT_EQ(Classify("\n", STYLE_SINGLE, TYPE_AUTO), BlankLine);
  EXPECT_EQ(Classify("\n", STYLE_WINCODE, TYPE_UU, "\n\nsection 2/3 file x\n"), PartTrailer);
  EXPECT_EQ(part, 2);
  EXPECT_EQ(total, 3);
}

TEST_F(ClassifyLineTest, TrailersByStyle) {
  g_partTotal = 5;
  EXPECT_EQ(Classify("sum -r/size 123/456 section\n", STYLE_SIMTEL, TYPE_UU), ChecksumLine);
  EXPECT_EQ(Classify("-------- End of part 2 of 5 --------\n", STYLE_SIMTEL, TYPE_UU), PartTrailer);
  EXPECT_EQ(Classify("END--cut here--cut here\n", STYLE_COMP_BINARIES, TYPE_UU), PartTrailer);
  EXPECT_EQ(Classify("END-------------- f.zip ------------ part 2/5 ---\n", STYLE_SHAR, TYPE_UU), PartTrailer);
  EXPECT_EQ(part, 2);
  EXPECT_EQ(Classify("section 3/5   file f.zip\n", STYLE_WINCODE, TYPE_UU), PartTrailer);
  EXPECT_EQ(part, 3);
  EXPECT_EQ(Classify("Section 4/5   file f.zip\n", STYLE_WINCODE, TYPE_UU), PartTrailer);
  EXPECT_EQ(part, 4);
  EXPECT_EQ(Classify("----- cut here -----\n", STYLE_AOL, TYPE_UU), PartTrailer);
  EXPECT_EQ(Classify("------ end of f.zip -- part 4 of 5\n", STYLE_SQUIRREL, TYPE_UU), PartTrailer);
  EXPECT_EQ(part, 4);
  EXPECT_EQ(Classify("------ something else\n", STYLE_SQUIRREL, TYPE_UU), DataLine);
  EXPECT_EQ(Classify("END ---- cut here\n", STYLE_BITFTP, TYPE_UU), PartTrailer);  // every style
  EXPECT_EQ(part, currentPart);
  EXPECT_EQ(total, 5);
}

// Styles 6 and 8 end a part at a line starting "--" unless it is data of the method at
// its length: a UU line of 13 bytes, or an XX line of one, starts with "--".
TEST_F(ClassifyLineTest, DashesEndAnAltBinariesPartUnlessTheLineIsData) {
  for (int style : {STYLE_ALT_BINARIES_1, STYLE_ALT_BINARIES_3}) {
    for (const char* data : {"--$AE;&QO+\"!W;W)L9```\n", "--$AE;&QO+\"!W;W)L9`\r\n"})
      EXPECT_EQ(Classify(data, style, TYPE_UU), DataLine) << style << data;
    EXPECT_EQ(Classify("--+\n", style, TYPE_XX), DataLine) << style;
    EXPECT_EQ(Classify("--+++\n", style, TYPE_XX), DataLine) << style;
    for (const char* end : {"-- \r\n", "--\n", "--=_NextPart_000_0012_01C2A3B4.5C6D7E80\n", "--text\n",
                            "--$AE;&QO+\"!W;W)L9`x\n"})
      EXPECT_EQ(Classify(end, style, TYPE_UU), PartTrailer) << style << end;
    EXPECT_EQ(Classify("--text\n", style, TYPE_XX), PartTrailer) << style;
    EXPECT_EQ(Classify("--boundary\n", style, TYPE_MIME), PartTrailer) << style;
  }
  EXPECT_EQ(Classify("--$AE;&QO+\"!W;W)L9```\n", STYLE_SINGLE, TYPE_UU), DataLine);
  EXPECT_EQ(Classify("--boundary--\n", STYLE_SINGLE, TYPE_MIME), EndStatement);
  EXPECT_EQ(Classify("====\n", STYLE_SINGLE, TYPE_MIME), EndStatement);  // the end of begin-base64
}

TEST_F(ClassifyLineTest, Separators) {
  EXPECT_TRUE(Separator("anything\n", STYLE_SIMTEL));
  EXPECT_TRUE(Separator("BEGIN--cut here--cut here--\n", STYLE_COMP_BINARIES));
  EXPECT_FALSE(Separator("Archive-name: x/part01\n", STYLE_COMP_BINARIES));
  EXPECT_TRUE(Separator("\r\n", STYLE_ALT_BINARIES_3));
  EXPECT_FALSE(Separator("From: someone\r\n", STYLE_ALT_BINARIES_3));
  EXPECT_TRUE(Separator("The following line should contain\n", STYLE_BITFTP, "`!\"#$\n\nM...\n"));
  EXPECT_STREQ(g_decode.line, "`!\"#$\n");  // consumed with the separator
  EXPECT_TRUE(Separator("----- cut here -----\n", STYLE_AOL));
  EXPECT_TRUE(Separator("BEGIN -- Cut Here --\n", STYLE_ALT_BINARIES_3));  // every style
}

}  // namespace
