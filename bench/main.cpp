#include <string>
#include <vector>

#include "benchmark_commands.h"
#include "file_system/path_conversion.h"

#ifdef _WIN32

int wmain(int argc, wchar_t** argv) {
    return vestro::bench::RunCommand(std::vector<std::wstring>(argv + 1, argv + argc));
}

#else

int main(int argc, char** argv) {
    std::vector<std::wstring> arguments;
    for (int index = 1; index < argc; ++index) {
        arguments.push_back(vestro::ToPathText(argv[index]));
    }
    return vestro::bench::RunCommand(arguments);
}

#endif
