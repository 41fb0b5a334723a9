// The configuration file reader follows the rules of GetPrivateProfileIntA.
#include <gtest/gtest.h>

#include <string>

#include "platform/ini_file.h"
#include "tests/support.h"

namespace {

std::string WriteIni(const char* name, const std::string& text) {
  static const Scratch scratch;
  return scratch.Write(name, text);
}

TEST(IniFile, MissingFileSectionOrKeyGivesTheFallback) {
  EXPECT_EQ(IniFile_ReadInt("/nonexistent/config.ini", "CONFIG", "Color", 7), 7);
  std::string path = WriteIni("ini_other.ini", "[OTHER]\nColor=1\n[CONFIG]\nFiltering=0\n");
  EXPECT_EQ(IniFile_ReadInt(path.c_str(), "CONFIG", "Color", 5), 5);
  EXPECT_EQ(IniFile_ReadInt(path.c_str(), "CONFIG", "Filtering", 1), 0);
}

TEST(IniFile, NamesIgnoreCaseAndBlanksAndValuesReadTheirLeadingDigits) {
  std::string path =
      WriteIni("ini_case.ini", "; comment\r\n [ config ] \r\n  color =  16bits \r\nFILTERING=-3\r\nx=\r\n");
  EXPECT_EQ(IniFile_ReadInt(path.c_str(), "CONFIG", "Color", 0), 16);
  EXPECT_EQ(IniFile_ReadInt(path.c_str(), "CONFIG", "Filtering", 1), -3);
  EXPECT_EQ(IniFile_ReadInt(path.c_str(), "CONFIG", "x", 9), 0);
}

TEST(IniFile, AnOverlongLineIsSkippedWholeNotReadAsTwoLines) {
  std::string text = "[CONFIG]\nName=" + std::string(5000, 'a') + "Color=3\nFiltering=0\n";
  std::string path = WriteIni("ini_long.ini", text);
  EXPECT_EQ(IniFile_ReadInt(path.c_str(), "CONFIG", "Color", 0), 0);
  EXPECT_EQ(IniFile_ReadInt(path.c_str(), "CONFIG", "Filtering", 1), 0);
}

}  // namespace
