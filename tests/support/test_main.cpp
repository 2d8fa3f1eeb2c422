#include <gtest/gtest.h>

// The Windows build links with -municode, so its entry point takes wide arguments.
#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
    // Ends at the first failure, after which a test could wait for holds that never go.
    GTEST_FLAG_SET(fail_fast, true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
