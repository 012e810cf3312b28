// Reads a whole input file for a tool, refusing what would not end well: a directory, a
// device or pipe that never ends (/dev/zero), or a file above the tool's size limit.
#pragma once

#include <cstddef>
#include <string>

// True with the file's bytes in `contents` when `path` names a regular file of at most
// `maxBytes` bytes that could be read to its end. Otherwise false, with `error` saying why,
// to follow "cannot read PATH: " ("is a directory", "is not a regular file", ...).
bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string* contents, std::string* error);

// "64 MiB", "1000 bytes": a limit as the tools' usage texts state it.
std::string DescribeSize(std::size_t bytes);
