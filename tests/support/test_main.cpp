#include <gtest/gtest.h>

// The Windows build links with -municode, so its entry point takes wide arguments.
#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
    // A fault that makes one test fail can make a later one wait for holds that never go: the
    // first failure ends the suite at once (--gtest_fail_fast=0 runs on).
    GTEST_FLAG_SET(fail_fast, true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
