// The data directory: made private with an unpredictable name, and deleted without entering its folders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "driver/pack.h"
#include "pack_scratch.h"
#include "platform/private_directory.h"

namespace {

// Sets TMP for a test (null unsets it) and puts back what was there.
class ScopedTmp {
 public:
  explicit ScopedTmp(const char* value) {
    if (const char* old = std::getenv("TMP")) previous_ = old;
    Set(value);
  }
  ~ScopedTmp() { Set(previous_ ? previous_->c_str() : nullptr); }

 private:
  static void Set(const char* value) {
#ifdef _WIN32
    _putenv_s("TMP", value ? value : "");
#else
    value ? setenv("TMP", value, 1) : unsetenv("TMP");
#endif
  }
  std::optional<std::string> previous_;
};

TEST(DataDir, IsMadePrivateInTmpWithAFreshName) {
  Scratch tmp;
  ScopedTmp scopedTmp(tmp.Path().string().c_str());
  char first[kDataPathSize];
  char second[kDataPathSize];
  ASSERT_TRUE(ChooseDataDir(first, sizeof first));
  ASSERT_TRUE(ChooseDataDir(second, sizeof second));
  EXPECT_NE(std::string(first), std::string(second));
  for (const char* made : {first, second}) {
    fs::path path(made);
    EXPECT_EQ(path.parent_path(), tmp.Path());
    EXPECT_TRUE(fs::is_directory(path));
#ifndef _WIN32
    // On Windows the parent's access rights keep other users out.
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_all);
#endif
  }
}

TEST(DataDir, FallsBackToTheSystemTemporaryDirectoryAndRefusesANameThatDoesNotFit) {
  for (const char* tmp : {"/nonexistent/qz2", "", static_cast<const char*>(nullptr)}) {
    ScopedTmp scopedTmp(tmp);
    char made[kDataPathSize];
    ASSERT_TRUE(ChooseDataDir(made, sizeof made));
    // Windows takes its temporary directory from TMP too: with TMP unusable, the current directory is left.
    char systemTemp[kDataPathSize];
    ASSERT_TRUE(Directory_SystemTemp(systemTemp, sizeof systemTemp));
    const fs::path expected = fs::is_directory(systemTemp) ? fs::path(systemTemp) : fs::path(".");
    EXPECT_EQ(fs::path(made).parent_path(), expected);
    fs::remove(made);
    char tiny[8];
    EXPECT_FALSE(ChooseDataDir(tiny, sizeof tiny)) << "a name that does not fit is no name";
  }
}

TEST(DeleteDataDir, RemovesFilesButKeepsFoldersAndWhatIsInThem) {
  Scratch scratch;
  fs::path data = scratch.Path() / "data";
  fs::create_directories(data / "sub");
  scratch.Write("data/scene1.QZ3", "a");
  scratch.Write("data/mp31.mp3", "b");
  scratch.Write("data/sub/inner.txt", "c");
  DeleteDataDir(data.string().c_str());
  EXPECT_FALSE(fs::exists(data / "scene1.QZ3"));
  EXPECT_FALSE(fs::exists(data / "mp31.mp3"));
  EXPECT_EQ(ReadBytes(data / "sub/inner.txt"), Text("c"));
}

TEST(DeleteDataDir, RemovesTheDirectoryOnceEmptyAndLinksButNotTheirTargets) {
  Scratch scratch;
  fs::path data = scratch.Path() / "data";
  fs::path outside = scratch.Path() / "outside";
  fs::create_directories(data);
  fs::create_directories(outside);
  scratch.Write("outside/keep.txt", "keep");
  scratch.Write("data/scene1.QZ3", "a");
  // Wine makes no links: there the directory holds a file only.
  std::error_code noLinks;
  fs::create_symlink(outside / "keep.txt", data / "file-link", noLinks);
  if (!noLinks) fs::create_directory_symlink(outside, data / "folder-link", noLinks);
  DeleteDataDir(data.string().c_str());
  EXPECT_FALSE(fs::exists(data));
  EXPECT_EQ(ReadBytes(outside / "keep.txt"), Text("keep"));
  // A directory that is not there is quietly left alone.
  DeleteDataDir(data.string().c_str());
  EXPECT_FALSE(fs::exists(data));
}

}  // namespace
