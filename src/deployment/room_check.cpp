#include "room_check.h"

#include <cstdio>
#include <system_error>

namespace vestro {
namespace {

std::wstring InUnits(std::uint64_t bytes, int decimals) {
    constexpr const wchar_t* kUnits[] = {L"KB", L"MB", L"GB", L"TB", L"PB"};
    if (bytes < 1024) {
        return std::to_wstring(bytes) + (bytes == 1 ? L" byte" : L" bytes");
    }
    double amount = static_cast<double>(bytes) / 1024;
    std::size_t unit = 0;
    for (; amount >= 1024 && unit + 1 < std::size(kUnits); ++unit) {
        amount /= 1024;
    }
    wchar_t text[64];
    std::swprintf(text, std::size(text), L"%.*f %ls", decimals, amount, kUnits[unit]);
    return text;
}

}  // namespace

std::wstring AmountText(std::uint64_t bytes, std::uint64_t other) {
    for (int decimals = 1; decimals <= 3; ++decimals) {
        std::wstring text = InUnits(bytes, decimals);
        if (text != InUnits(other, decimals)) {
            return text;
        }
    }
    return std::to_wstring(bytes) + L" bytes";
}

Status CheckRoom(FileSystem& fileSystem, const std::wstring& folder, const CopySize& size) {
    const Result<VolumeSpace> space = fileSystem.FreeSpace(folder);
    if (space.Failed()) {
        return space.status;
    }
    // Each folder made takes at least one unit; the copy's own folder too.
    const std::uint64_t needed =
        size.bytesToWrite + (size.folders + 1) * space.value.allocationUnit;
    if (needed <= space.value.available) {
        return Status::Success();
    }
    return Status::Failure(std::make_error_code(std::errc::no_space_on_device),
                           L"There is not enough free space on " + space.value.volume +
                               L" for the new data: " + AmountText(needed, space.value.available) +
                               L" is needed and " + AmountText(space.value.available, needed) +
                               L" is free. Nothing has been changed.");
}

}  // namespace vestro
