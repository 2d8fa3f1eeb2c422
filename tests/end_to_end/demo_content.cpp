#include "demo_content.h"

#include "file_operations.h"

namespace vestro::end_to_end {

std::string PatternBytes(int seed, std::size_t size) {
    std::string bytes(size, '\0');
    unsigned int state = 2166136261u ^ static_cast<unsigned int>(seed);
    for (std::size_t index = 0; index < size; ++index) {
        state = state * 16777619u + static_cast<unsigned int>(index);
        // Every 256 bytes run through all byte values once, in an order the seed shifts.
        bytes[index] = static_cast<char>((index + (state >> 24)) & 0xFF);
        if (index % 256 == 0) {
            bytes[index] = static_cast<char>(static_cast<unsigned int>(seed) & 0xFF);
        }
    }
    return bytes;
}

void WriteNewData(const std::wstring& folder) {
    WriteBytes(folder + L"\\readme.txt", "VestroData release 2\r\n");
    WriteBytes(folder + L"\\shared.txt", "new shared contents\r\n");
    WriteBytes(folder + L"\\maps\\level1.dat", PatternBytes(1, 3000));
    WriteBytes(folder + L"\\maps\\deep\\level2.dat", PatternBytes(2, 70'000));
    WriteBytes(folder + L"\\maps\\deep\\empty.dat", "");
    MakeFolders(folder + L"\\empty folder");
}

void WriteOldData(const std::wstring& folder) {
    WriteBytes(folder + L"\\shared.txt", "old shared contents\r\n");
    WriteBytes(folder + L"\\old-only.txt", "only in the old release\r\n");
    WriteBytes(folder + L"\\maps\\level1.dat", PatternBytes(9, 2048));
    WriteBytes(folder + L"\\retired\\stale.bin", PatternBytes(7, 512));
}

}  // namespace vestro::end_to_end
