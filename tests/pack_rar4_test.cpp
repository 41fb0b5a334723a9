// The RAR 4 writer against an independent reader (bsdtar), the stored reader on damaged and hostile
// archives, and the library's entry points called directly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "core/crc32.h"
#include "pack_scratch.h"
#include "start/rar4_reader.h"
#include "start/unrar.h"

namespace {

const std::vector<RarEntry> kEntries = {
    {"maps", {}, true},
    {"maps/level.qz3", Pattern(70000, 3)},
    {"empty.dat", {}},
    {"over1.dat", Text("overlay")},
};

// bsdtar, the independent reader, is a program of the Linux build's.
#ifndef _WIN32
int Shell(const std::string& command) { return std::system(command.c_str()); }

TEST(RarWriter, ArchivesAreListedAndExtractedByBsdtar) {
  Scratch scratch;
  const fs::path& dir = scratch.Path();
  scratch.Write("PACK.ZUL", Rar(kEntries));
  std::string in = "cd '" + dir.string() + "' && ";
  ASSERT_EQ(Shell(in + "bsdtar -tf PACK.ZUL > list.txt 2> errors.txt"), 0);
  EXPECT_EQ(ReadBytes(dir / "list.txt"), Text("maps\nmaps/level.qz3\nempty.dat\nover1.dat\n"));
  fs::create_directory(dir / "out");
  ASSERT_EQ(Shell(in + "bsdtar -xf PACK.ZUL -C out 2>> errors.txt"), 0);
  EXPECT_EQ(ReadBytes(dir / "errors.txt"), Bytes());
  EXPECT_TRUE(fs::is_directory(dir / "out/maps"));
  for (const RarEntry& entry : kEntries) {
    if (!entry.folder) {
      EXPECT_EQ(ReadBytes(dir / "out" / entry.name), entry.data) << entry.name;
    }
  }
}
#endif

// Puts a header's crc right again after a test has changed the header.
void Reseal(Bytes& archive, size_t header) {
  size_t size = archive[header + 5] | archive[header + 6] << 8;
  uint32_t crc = Crc32(0, archive.data() + header + 2, size - 2);
  archive[header] = static_cast<uint8_t>(crc);
  archive[header + 1] = static_cast<uint8_t>(crc >> 8);
}

// Offsets within a file header.
constexpr size_t kFlags = 3, kPackSize = 7, kUnpackSize = 11, kMethod = 25;

// Reads the current entry to its end: its bytes, and the result that ended the reading.
int ReadAll(ArchiveSource& source, Bytes& bytes) {
  uint8_t block[4096];
  for (int reads = 0; reads < 1000; ++reads) {
    size_t got = 0;
    int result = source.ReadData(block, sizeof block, got);
    if (result != RarSuccess || got == 0) return result;
    bytes.insert(bytes.end(), block, block + got);
  }
  return -1;
}

// Each damage is met where it lies: at the open, at the entry's header, or in its data, after which the
// next entry still reads. Compressed, encrypted and split entries are listed but their bytes not given.
TEST(StoredReader, DamageIsReportedWhereItIsMet) {
  auto set = [](size_t offset, uint8_t bits) {
    return [=](Bytes& a) {
      a[kFirstFileHeader + offset] |= bits;
      Reseal(a, kFirstFileHeader);
    };
  };
  struct Damage {
    const char* what;
    std::function<void(Bytes&)> damage;
    int open, header, data;
  } cases[] = {
      {"a RAR 5 signature", [](Bytes& a) { a[6] = 0x01; }, RarUnknownFormat, 0, 0},
      {"a damaged main header", [](Bytes& a) { a[7 + 8] ^= 0x01; }, RarBadArchive, 0, 0},
      {"sizes beyond the file",
       [](Bytes& a) {
         for (size_t at : {kPackSize, kUnpackSize}) std::fill_n(&a[kFirstFileHeader + at], 4, 0xFF);
         Reseal(a, kFirstFileHeader);
       },
       RarSuccess, RarBadData, 0},
      {"a changed byte of data", [](Bytes& a) { a[kFirstFileHeader + 32 + 5 + 4000] ^= 0x01; }, RarSuccess, RarSuccess,
       RarBadData},
      {"compression", set(kMethod, 0x33), RarSuccess, RarSuccess, RarUnknownFormat},
      {"encryption", set(kFlags, 0x04), RarSuccess, RarSuccess, RarUnknownFormat},
      {"a split from before", set(kFlags, 0x01), RarSuccess, RarSuccess, RarUnknownFormat},
      {"a split to after", set(kFlags, 0x02), RarSuccess, RarSuccess, RarUnknownFormat},
  };
  Scratch scratch;
  for (const Damage& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes archive = Rar({{"a.bin", Pattern(5000, 4)}, {"b.txt", Text("fine")}});
    c.damage(archive);
    int openResult = -1;
    std::unique_ptr<ArchiveSource> source = OpenRar4Archive(scratch.Write("a.rar", archive).c_str(), openResult);
    EXPECT_EQ(openResult, c.open);
    if (!source) continue;
    EntryHeader entry;
    EXPECT_EQ(source->NextEntry(entry), c.header);
    if (c.header != RarSuccess) continue;
    Bytes bytes;
    EXPECT_EQ(ReadAll(*source, bytes), c.data);
    EXPECT_TRUE(c.data != RarUnknownFormat || bytes.empty());
    ASSERT_EQ(source->NextEntry(entry), RarSuccess);
    bytes.clear();
    EXPECT_EQ(ReadAll(*source, bytes), RarSuccess);
    EXPECT_EQ(bytes, Text("fine"));
  }
}

// The entry points of a library, called as any program of the published interface would.
class EntryPoints : public testing::TestWithParam<const char*> {
 protected:
  LibraryInPlace place{GetParam()};
  void* library = Library_Open("Start.Dll");
  RarOpenArchiveFn openArchive = Find<RarOpenArchiveFn>("RAROpenArchive");
  RarCloseArchiveFn closeArchive = Find<RarCloseArchiveFn>("RARCloseArchive");
  RarReadHeaderFn readHeader = Find<RarReadHeaderFn>("RARReadHeader");
  RarProcessFileFn processFile = Find<RarProcessFileFn>("RARProcessFile");
  RARHeaderData header{};

  ~EntryPoints() override { Library_Close(library); }

  template <typename Fn>
  Fn Find(const char* name) {
    return reinterpret_cast<Fn>(Library_Symbol(library, name));
  }
  void* Open(const Bytes& archive, unsigned mode) {
    place.Write("a.rar", archive);
    RAROpenArchiveData open{};
    open.ArcName = const_cast<char*>("a.rar");
    open.OpenMode = mode;
    void* handle = openArchive(&open);
    EXPECT_EQ(open.OpenResult, 0u);
    return handle;
  }
  int Extract(void* handle, const char* destPath, const char* destName = nullptr) {
    return processFile(handle, RarExtract, const_cast<char*>(destPath), const_cast<char*>(destName));
  }
};

TEST_P(EntryPoints, ListTestSkipAndExtractUnderAnotherName) {
  void* handle = Open(
      Rar({{"a.txt", Text("hello")}, {"maps", {}, true}, {"maps/b.bin", Pattern(9000, 6)}, {"c.txt", Text("end")}}),
      RarOpenList);
  ASSERT_NE(handle, nullptr);
  ASSERT_EQ(readHeader(handle, &header), RarSuccess);
  EXPECT_STREQ(header.ArcName, "a.rar");
  EXPECT_STREQ(header.FileName, "a.txt");
  EXPECT_EQ(header.UnpSize, 5u);
  EXPECT_EQ(header.Flags & RarHeaderFolder, 0u);
  EXPECT_EQ(processFile(handle, RarTest, nullptr, nullptr), RarSuccess);
  ASSERT_EQ(readHeader(handle, &header), RarSuccess);
  EXPECT_EQ(header.Flags & RarHeaderFolder, RarHeaderFolder);
  EXPECT_EQ(processFile(handle, RarSkip, nullptr, nullptr), RarSuccess);
  // A file skipped unread: the next entry is found past its bytes.
  ASSERT_EQ(readHeader(handle, &header), RarSuccess);
  EXPECT_EQ(header.UnpSize, 9000u);
  EXPECT_EQ(processFile(handle, RarSkip, nullptr, nullptr), RarSuccess);
  ASSERT_EQ(readHeader(handle, &header), RarSuccess);
  EXPECT_EQ(Extract(handle, nullptr, "out/renamed.txt"), RarSuccess);
  EXPECT_EQ(ReadBytes(place.Path() / "out/renamed.txt"), Text("end"));
  EXPECT_EQ(readHeader(handle, &header), RarEndArchive);
  EXPECT_EQ(closeArchive(handle), RarSuccess);
  EXPECT_FALSE(fs::exists(place.Path() / "a.txt"));
  EXPECT_FALSE(fs::exists(place.Path() / "maps"));
}

TEST_P(EntryPoints, RefusedEntryLeavesTheFollowingOnesToExtract) {
  void* handle = Open(Rar({{"../x", Text("out")}, {"in.txt", Text("in")}}), RarOpenExtract);
  ASSERT_NE(handle, nullptr);
  ASSERT_EQ(readHeader(handle, &header), RarSuccess);
  EXPECT_EQ(Extract(handle, "data"), RarCreateError);
  ASSERT_EQ(readHeader(handle, &header), RarSuccess);
  EXPECT_EQ(Extract(handle, "data"), RarSuccess);
  EXPECT_EQ(ReadBytes(place.Path() / "data/in.txt"), Text("in"));
  EXPECT_FALSE(fs::exists(place.Path() / "x"));
  closeArchive(handle);
}

INSTANTIATE_TEST_SUITE_P(Libraries, EntryPoints, testing::Values(START_LIBRARY, STORED_START_LIBRARY),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return info.index == 0 ? std::string("Libarchive") : std::string("StoredRar4");
                         });

}  // namespace
