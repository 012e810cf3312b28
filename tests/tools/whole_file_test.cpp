#include "whole_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace fs = std::filesystem;

namespace {

class WholeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    // Other builds' runs of this test may share the temporary folder.
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count() ^ std::random_device()();
    dir_ = fs::temp_directory_path() / ("lumivane-whole-file-" + std::string(test->name()) + "-" + std::to_string(stamp));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& name, const std::string& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  fs::path dir_;
};

TEST_F(WholeFile, ReadsRegularFilesUpToTheLimit) {
  struct Case {
    const char* name;
    std::string bytes;
    std::size_t limit;
    bool ok;
  };
  const std::string big(200000, 'x');  // several reads of the helper's buffer
  const Case cases[] = {
      {"empty", "", 0, true},
      {"binary", std::string("a\0b\r\n\xff", 6), 6, true},
      {"exactly the limit", big, big.size(), true},
      {"one byte over", big, big.size() - 1, false},
      {"far over", big, 10, false},
  };
  for (const Case& c : cases) {
    const std::string path = write("file", c.bytes);
    std::string contents = "old";
    std::string error;
    EXPECT_EQ(ReadWholeFile(path, c.limit, &contents, &error), c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(contents, c.bytes) << c.name;
    } else {
      EXPECT_EQ(contents, "old") << c.name;
      EXPECT_EQ(error, "is larger than the limit of " + DescribeSize(c.limit)) << c.name;
    }
  }
}

TEST_F(WholeFile, RefusesWhatIsNotARegularFile) {
  struct Case {
    std::string path;
    std::string error;
  };
  std::vector<Case> cases = {
      {dir_.string(), "is a directory"},
      {(dir_ / "missing").string(), ""},  // the system's own words
  };
#ifndef _WIN32
  // Endless streams: without the check these were read until memory ran out.
  cases.push_back({"/dev/zero", "is not a regular file"});
  cases.push_back({"/dev/urandom", "is not a regular file"});
#endif
  for (const Case& c : cases) {
    std::string contents;
    std::string error;
    EXPECT_FALSE(ReadWholeFile(c.path, 1 << 20, &contents, &error)) << c.path;
    if (c.error.empty()) {
      EXPECT_FALSE(error.empty()) << c.path;
    } else {
      EXPECT_EQ(error, c.error) << c.path;
    }
  }
}

TEST(DescribeSize, WholeMebibytesOrBytes) {
  EXPECT_EQ(DescribeSize(std::size_t{64} << 20), "64 MiB");
  EXPECT_EQ(DescribeSize(1000), "1000 bytes");
  EXPECT_EQ(DescribeSize((std::size_t{1} << 20) + 1), "1048577 bytes");
}

}  // namespace
