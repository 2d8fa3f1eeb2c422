#include <spawn.h>
#include <sys/wait.h>

#include <cstring>
#include <map>

#include "baseline_copy.h"
#include "utf8_text.h"

extern char** environ;

namespace vestro::bench {
namespace {

// $1 source, $2 target; the new and old folders lie beside the target, as ours do. Each in two
// parts: until the new data is in place, then what comes after (empty when nothing does).
const std::map<std::string, std::pair<std::string, std::string>>& Scripts() {
    static const std::map<std::string, std::pair<std::string, std::string>> scripts = {
        {"rm-cp", {R"(rm -rf -- "$2" && cp -a -- "$1" "$2")", ""}},
        {"cp-order",
         {R"(cp -a -- "$1" "$2.new" && mv -- "$2" "$2.old" && mv -- "$2.new" "$2")",
          R"(rm -rf -- "$2.old")"}},
        {"cp-parallel",
         {R"(mkdir -- "$2.new" &&
            find "$1" -mindepth 1 -maxdepth 1 -print0 |
                xargs -0 -r -P 4 -I '{}' cp -a -- '{}' "$2.new/" &&
            mv -- "$2" "$2.old" && mv -- "$2.new" "$2")",
          R"(find "$2.old" -mindepth 1 -maxdepth 1 -print0 | xargs -0 -r -P 4 -n 1 rm -rf -- &&
            rmdir -- "$2.old")"}},
        // rsync writes each changed file under a new name and renames it over the link, so the
        // old data the new folder was linked from stays as it was until the swap.
        {"rsync-staged",
         {R"(cp -al -- "$2" "$2.new" && rsync -a --delete -- "$1/" "$2.new/" &&
            mv -- "$2" "$2.old" && mv -- "$2.new" "$2")",
          R"(rm -rf -- "$2.old")"}},
        {"rsync-checksum",
         {R"(cp -al -- "$2" "$2.new" && rsync -a --delete --checksum -- "$1/" "$2.new/" &&
            mv -- "$2" "$2.old" && mv -- "$2.new" "$2")",
          R"(rm -rf -- "$2.old")"}},
    };
    return scripts;
}

std::string RunScript(const std::string& name, std::string script, const std::wstring& sourceDir,
                      const std::wstring& targetDir) {
    // The paths travel as arguments, so no quoting can go wrong.
    std::string shell = "/bin/sh";
    std::string option = "-c";
    std::string source = Utf8(sourceDir);
    std::string target = Utf8(targetDir);
    std::string scriptName = name;
    char* arguments[] = {shell.data(),  option.data(), script.data(), scriptName.data(),
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
        return name + " failed with status " + std::to_string(status);
    }
    return {};
}

}  // namespace

bool IsBaselineName(const std::string& name) {
    return Scripts().contains(name);
}

std::string RunBaselineCopy(const std::string& name, const std::wstring& sourceDir,
                            const std::wstring& targetDir,
                            const std::function<void()>& newDataInPlace) {
    const auto found = Scripts().find(name);
    if (found == Scripts().end()) {
        return "no baseline named " + name;
    }
    const auto& [untilInPlace, after] = found->second;
    if (std::string failure = RunScript(name, untilInPlace, sourceDir, targetDir);
        !failure.empty()) {
        return failure;
    }
    newDataInPlace();
    return after.empty() ? std::string() : RunScript(name, after, sourceDir, targetDir);
}

}  // namespace vestro::bench
