#pragma once

#include <string>
#include <vector>

namespace vestro::bench {

// The benchmark's commands (without the program name); returns the process exit code.
//   generate <platform> <small|deep|large> <files> <data folder> <records file>
//   generate <platform> redeploy <files> <data folder> <records file> <old data folder>
//   <side> <platform> <data set> <timed|warmup> <source> <target> <records file>
//   verify <original> <copy> [contents]
//   report <records file>
int RunCommand(const std::vector<std::wstring>& arguments);

}  // namespace vestro::bench
