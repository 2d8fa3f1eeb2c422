#include "scenario_result.h"

#include "file_operations.h"
#include "utf8_text.h"

namespace vestro::end_to_end {

void WriteScenarioResult(const std::wstring& file, const ScenarioResult& result) {
    WriteBytes(file,
               ToUtf8(L"scenario=" + result.name + L"\npassed=" + (result.passed ? L"1" : L"0") +
                      L"\nbad_inputs=" + std::to_wstring(result.badInputs) +
                      L"\nlost_or_mixed_data=" + std::to_wstring(result.lostOrMixedData) + L"\n"));
}

}  // namespace vestro::end_to_end
