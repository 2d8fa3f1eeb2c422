#include <spawn.h>
#include <sys/wait.h>

#include <cstring>

#include "baseline_copy.h"
#include "utf8_text.h"

extern char** environ;

namespace vestro::bench {

std::string RunBaselineCopy(const std::wstring& sourceDir, const std::wstring& targetDir) {
    // The paths travel as arguments, so no quoting can go wrong.
    std::string shell = "/bin/sh";
    std::string option = "-c";
    std::string script = "rm -rf -- \"$2\" && cp -a -- \"$1\" \"$2\"";
    std::string name = "baseline";
    std::string source = Utf8(sourceDir);
    std::string target = Utf8(targetDir);
    char* arguments[] = {shell.data(),  option.data(), script.data(), name.data(),
                         source.data(), target.data(), nullptr};
    pid_t child = 0;
    if (const int error = posix_spawn(&child, shell.c_str(), nullptr, nullptr, arguments, environ);
        error != 0) {
        return std::string("cannot start /bin/sh: ") + std::strerror(error);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) {
        return "cannot wait for /bin/sh";
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return "rm/cp failed with status " + std::to_string(status);
    }
    return {};
}

}  // namespace vestro::bench
