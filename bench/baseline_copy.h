#pragma once

#include <functional>
#include <string>

namespace vestro::bench {

// The same job as our deployment done with the system's own tools, one way per name:
//   natively  "rm-cp":       rm -rf target && cp -a source target
//             "cp-order":    our order: cp -a to a new folder, mv the old aside, mv the new in,
//                            rm -rf the old
//             "cp-parallel": the same with 4 cp -a at once over source's top-level entries and
//                            4 rm -rf at once over the old folder's
//             "rsync-staged": cp -al of the old folder to a new one, rsync -a --delete from
//                            source into it (files of the same size and time are kept as the
//                            links), two mv, rm -rf of the old
//             "rsync-checksum": the same with rsync --checksum (files kept only when their
//                            contents are the same, as ours)
//   Windows   "xcopy":       cmd's rmdir /s /q target, then xcopy /e /i /h /k /y
//             "robocopy":    robocopy /MIR /MT:8 to a new folder, then our order with cmd's move
//                            and rmdir /s /q
// newDataInPlace is called once the new data is in place: after the renames, before the
// removal of the old folder where that comes last, at the end where it comes first.
// Returns an empty text on success, else what went wrong (an unknown name among it).
std::string RunBaselineCopy(const std::string& name, const std::wstring& sourceDir,
                            const std::wstring& targetDir,
                            const std::function<void()>& newDataInPlace);

// True for a name RunBaselineCopy knows on this platform.
bool IsBaselineName(const std::string& name);

}  // namespace vestro::bench
