#pragma once

#include <string>

namespace vestro::bench {

// The same job as our deployment done with the system's own tools: natively
// `rm -rf target && cp -a source target`; on Windows cmd's `rmdir /s /q` and `xcopy /e /i /h /k
// /y`. Returns an empty text on success, else what went wrong.
std::string RunBaselineCopy(const std::wstring& sourceDir, const std::wstring& targetDir);

}  // namespace vestro::bench
