#pragma once

// Shared by VestroFile.rc and the C++ code, so plain preprocessor definitions.
#define IDI_VESTROFILE 1
