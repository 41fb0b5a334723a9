// Extraction of the pack through the library: with our two libraries on real archives, and with a
// stand-in library that scripts every result.
#include "driver/pack.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pack_scratch.h"
#include "start/unrar.h"

namespace {

// Our Linux library and the Windows one's stored reader must behave alike on our packs.
class UnpackWithLibrary : public testing::TestWithParam<const char*> {
 protected:
  ScopedFakePlatform platform;
  LibraryInPlace place{GetParam()};

  void WritePack(const Bytes& archive) { place.Write("PACK.ZUL", archive); }
  int Unpack(const char* directory) {
    return ExitOf([&] { EXPECT_EQ(UnpackPack("PACK.ZUL", directory), 0); }).value_or(0);
  }
};

TEST_P(UnpackWithLibrary, ExtractsEveryFileAndTheFoldersOnTheWay) {
  std::vector<RarEntry> files = {
      {"scene1.QZ3", Text("scene one")},
      {"police1.bmp", Pattern(200000, 1)},
      {"sounds/deep/mp31.mp3", Pattern(777, 2)},
  };
  WritePack(Rar(files));
  ASSERT_EQ(Unpack("data/inner"), 0);
  EXPECT_TRUE(platform->boxes.empty());
  for (const RarEntry& file : files) EXPECT_EQ(ReadBytes(place.Path() / "data/inner" / file.name), file.data);
}

TEST_P(UnpackWithLibrary, FirstHeaderThatCannotBeReadExtractsNothing) {
  Bytes archive = Rar({{"scene1.QZ3", Text("one")}, {"scene2.qz3", Text("two")}});
  archive[kFirstFileHeader] ^= 0xFF;  // its crc
  WritePack(archive);
  ASSERT_EQ(Unpack("data"), 0);
  EXPECT_TRUE(platform->boxes.empty());
  EXPECT_FALSE(fs::exists(place.Path() / "data/scene1.QZ3"));
  EXPECT_FALSE(fs::exists(place.Path() / "data/scene2.qz3"));
}

TEST_P(UnpackWithLibrary, MissingArchiveIsFatal) {
  EXPECT_EQ(Unpack("data"), -1);
  ASSERT_EQ(platform->boxes.size(), 1u);
  EXPECT_EQ(platform->boxes[0].text, "Can't Find Archive File");
}

TEST_P(UnpackWithLibrary, EntryOutsideTheDestinationIsRefused) {
  ASSERT_FALSE(fs::exists("/x"));
  for (const char* name : {"../x", "/x", "..\\x", "sub/../../x", "C:x", ".. /x"}) {
    SCOPED_TRACE(name);
    platform->boxes.clear();
    WritePack(Rar({{"kept.txt", Text("kept")}, {name, Text("escaped")}}));
    fs::create_directory(place.Path() / "data");
    EXPECT_EQ(Unpack("data/inner"), -1);
    ASSERT_EQ(platform->boxes.size(), 1u);
    EXPECT_EQ(platform->boxes[0].text, "File create error");
    // What came before the refused entry stays; nothing lands beside or above the destination.
    EXPECT_EQ(ReadBytes(place.Path() / "data/inner/kept.txt"), Text("kept"));
    EXPECT_FALSE(fs::exists("/x"));
    EXPECT_FALSE(fs::exists(place.Path() / "x"));
    EXPECT_FALSE(fs::exists(place.Path() / "data/x"));
    EXPECT_FALSE(fs::exists(place.Path() / "data/inner/x"));
    fs::remove_all(place.Path() / "data");
  }
}

INSTANTIATE_TEST_SUITE_P(Libraries, UnpackWithLibrary, testing::Values(START_LIBRARY, STORED_START_LIBRARY),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return info.index == 0 ? std::string("Libarchive") : std::string("StoredRar4");
                         });

// The stand-in library is held open by the test, so its script and log outlive the driver's load.
class UnpackWithStandIn : public testing::Test {
 protected:
  ScopedFakePlatform platform;
  LibraryInPlace place{FAKE_START_LIBRARY};
  void* library = Library_Open("Start.Dll");

  ~UnpackWithStandIn() override { Library_Close(library); }

  void Script(unsigned openResult, int headers, int readEnd, int failingFile, int processResult) {
    using ScriptFn = void (*)(unsigned, int, int, int, int);
    reinterpret_cast<ScriptFn>(Library_Symbol(library, "FakeStartScript"))(openResult, headers, readEnd, failingFile,
                                                                           processResult);
  }
  std::string Calls() {
    using LogFn = const char* (*)();
    return reinterpret_cast<LogFn>(Library_Symbol(library, "FakeStartLog"))();
  }
  int Unpack() {
    return ExitOf([] { EXPECT_EQ(UnpackPack("PACK.ZUL", "/data/dir"), 0); }).value_or(0);
  }
};

// A clean run reads until the headers end; a failed extraction closes the archive before its fatal report and
// reads no further header; an archive that cannot be opened is not closed.
TEST_F(UnpackWithStandIn, ExtractsUntilTheHeadersEndAndEachFailureHasItsFatalMessage) {
  ASSERT_NE(library, nullptr);
  const std::string open = "open PACK.ZUL mode 1 comments 16384";
  const std::string twoFiles = open + "; read; process 2 into /data/dir; read; process 2 into /data/dir";
  const struct {
    unsigned openResult;
    int processResult;  // of the second file
    const char* message;
  } cases[] = {{0, 0, nullptr},
               {RarOpenError, 0, "Can't Find Archive File"},
               {0, 12, "CRC error"},
               {0, 13, "Bad volume"},
               {0, 14, "Unknown archive format"},
               {0, 15, "Volume open error"},
               {0, 16, "File create error"},
               {0, 17, "File close error"},
               {0, 18, "Read error"},
               {0, 19, "Write error"},
               {0, 21, "Extraction error 21"},
               {0, -3, "Extraction error -3"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message ? c.message : "clean run");
    platform->boxes.clear();
    Script(c.openResult, 2, RarEndArchive, 1, c.processResult);
    EXPECT_EQ(Unpack(), c.message ? -1 : 0);
    std::vector<std::string> texts;
    for (const auto& box : platform->boxes) texts.push_back(box.text);
    EXPECT_EQ(texts, c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    EXPECT_EQ(Calls(), c.openResult ? open : twoFiles + (c.message ? "; close" : "; read; close"));
  }
}

TEST(Unpack, MissingNamesReturnMinusOneBeforeAnyLibrary) {
  ScopedFakePlatform platform;
  LibraryInPlace place{nullptr};
  EXPECT_EQ(UnpackPack(nullptr, "/data/dir"), -1);
  EXPECT_EQ(UnpackPack("PACK.ZUL", nullptr), -1);
  EXPECT_TRUE(platform->boxes.empty());
}

TEST(Unpack, MissingOrForeignLibraryIsFatal) {
  for (const char* library : {static_cast<const char*>(nullptr), NOT_START_LIBRARY}) {
    SCOPED_TRACE(library ? library : "no library");
    ScopedFakePlatform platform;
    LibraryInPlace place{library};
    EXPECT_EQ(ExitOf([] { UnpackPack("PACK.ZUL", "data"); }), -1);
    ASSERT_EQ(platform->boxes.size(), 1u);
    EXPECT_EQ(platform->boxes[0].text, "Can't Find Start.dll");
  }
}

}  // namespace
