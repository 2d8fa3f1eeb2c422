#pragma once

#include <string>

namespace vestro {

// The folder that holds the running program's executable, without a trailing separator; empty
// when it cannot be found.
std::wstring ProgramFolder();

}  // namespace vestro
