#include "discovery/text_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace discovery {
namespace {

TEST(FormatPath, WritesTheTextWhenItFitsUpTo259Characters) {
  char path[kPathBufferSize];
  EXPECT_EQ(FormatPath(path, "%s\\Fonts", "C:\\Program Files\\AutoCAD 2010"), 35);
  EXPECT_STREQ(path, "C:\\Program Files\\AutoCAD 2010\\Fonts");

  const std::string longest(259 - 6, 'x');
  EXPECT_EQ(FormatPath(path, "%s\\Fonts", longest.c_str()), 259);
  EXPECT_EQ(std::strlen(path), 259u);
}

TEST(FormatPath, SaysSoAndLeavesNoCutPathWhenTheTextDoesNotFit) {
  char path[kPathBufferSize + 8];
  std::memset(path, '#', sizeof path);
  auto& buffer = reinterpret_cast<char(&)[kPathBufferSize]>(path);

  const std::string tooLong(260 - 6, 'x');
  EXPECT_EQ(FormatPath(buffer, "%s\\Fonts", tooLong.c_str()), kTextDidNotFit);
  EXPECT_STREQ(path, "");
  for (std::size_t i = kPathBufferSize; i < sizeof path; ++i) {
    EXPECT_EQ(path[i], '#') << "written past the buffer at " << i;
  }
}

TEST(FormatLongText, Holds12999CharactersAndRefusesMore) {
  static char text[kLongTextBufferSize];
  const std::string fits(12999 - 1, 'A');
  EXPECT_EQ(FormatLongText(text, "%s;", fits.c_str()), 12999);
  EXPECT_EQ(text[12998], ';');

  const std::string tooLong(12999, 'A');
  EXPECT_EQ(FormatLongText(text, "%s;", tooLong.c_str()), kTextDidNotFit);
  EXPECT_STREQ(text, "");
}

TEST(FormatText, HasNoLengthLimitAndKeepsCodePage936BytesAsTheyAre) {
  const std::string name(300, 'K');
  EXPECT_EQ(FormatText("SOFTWARE\\Autodesk\\AutoCAD\\%s\\", name.c_str()),
            "SOFTWARE\\Autodesk\\AutoCAD\\" + name + "\\");
  EXPECT_EQ(FormatText("%s\\ZV_BatchPlot%d.ARX", "C:\\Zelvar\\Zelvar批打印软件", 2010),
            "C:\\Zelvar\\Zelvar\xC5\xFA\xB4\xF2\xD3\xA1\xC8\xED\xBC\xFE\\ZV_BatchPlot2010.ARX");
}

}  // namespace
}  // namespace discovery
