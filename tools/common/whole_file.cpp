#include "whole_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string* contents, std::string* error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec) {
    *error = ec.message();
    return false;
  }
  if (fs::is_directory(status)) {
    *error = "is a directory";
    return false;
  }
  if (!fs::is_regular_file(status)) {
    *error = "is not a regular file";
    return false;
  }
  const std::uintmax_t size = fs::file_size(path, ec);
  if (!ec && size > maxBytes) {
    *error = "is larger than the limit of " + DescribeSize(maxBytes);
    return false;
  }

  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    *error = std::strerror(errno);
    return false;
  }
  // Read up to one byte past the limit, in case the file grew since its size was taken.
  std::string text;
  char buffer[1 << 16];
  bool tooLarge = false;
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    if (got > maxBytes - text.size()) {
      tooLarge = true;
      break;
    }
    text.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (tooLarge) {
    *error = "is larger than the limit of " + DescribeSize(maxBytes);
    return false;
  }
  if (failed) {
    *error = "read error";
    return false;
  }
  *contents = std::move(text);
  return true;
}

std::string DescribeSize(std::size_t bytes) {
  const std::size_t mib = std::size_t{1} << 20;
  if (bytes >= mib && bytes % mib == 0) return std::to_string(bytes / mib) + " MiB";
  return std::to_string(bytes) + " bytes";
}
