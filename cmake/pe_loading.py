#!/usr/bin/env python3
"""What VestroFile.exe asks the Windows loader for, set after linking and checked before release.

The program runs elevated from a folder that others may write to, and Windows looks for an
imported library in the executable's folder first unless it is one of the system's known DLLs.

  pe_loading.py set-load-configuration EXE MAP
      points the image's load-configuration entry at the record `_load_config_used` (found in
      the link map), which this linker does not do by itself;
  pe_loading.py check EXE|ZIP
      fails unless every imported library is one Windows always takes from System32 (COMCTL32
      comes through the manifest's side-by-side assembly) and the load configuration asks for
      System32 alone; a ZIP is checked through the VestroFile.exe inside it.
"""
import re
import struct
import sys
import zipfile

LOAD_CONFIGURATION_ENTRY = 10
IMPORT_ENTRY = 1
DELAY_IMPORT_ENTRY = 13
LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x800
DEPENDENT_LOAD_FLAGS_OFFSET = 78

# The known DLLs of Windows 10 and 11 that a program of this kind may import, and COMCTL32.
ALLOWED_LIBRARIES = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "imm32.dll", "kernel32.dll",
    "msvcrt.dll", "ole32.dll", "oleaut32.dll", "rpcrt4.dll", "shcore.dll", "shell32.dll",
    "shlwapi.dll", "user32.dll", "ws2_32.dll",
}


class Image:
    def __init__(self, data):
        self.data = bytearray(data)
        if self.data[:2] != b"MZ":
            raise ValueError("not an executable")
        self.header = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[self.header:self.header + 4] != b"PE\0\0":
            raise ValueError("no PE header")
        sections, optional_size = struct.unpack_from("<2xH12xH", self.data, self.header + 4)
        self.optional = self.header + 24
        if struct.unpack_from("<H", self.data, self.optional)[0] != 0x20B:
            raise ValueError("not a 64-bit image")
        self.image_base = struct.unpack_from("<Q", self.data, self.optional + 24)[0]
        self.directories = self.optional + 112
        table = self.optional + optional_size
        self.sections = [struct.unpack_from("<8xIIII", self.data, table + 40 * index)
                         for index in range(sections)]

    def offset(self, rva):
        for virtual_size, address, raw_size, raw_offset in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw_offset + rva - address
        raise ValueError(f"address {rva:#x} lies in no section")

    def directory(self, index):
        return struct.unpack_from("<II", self.data, self.directories + 8 * index)

    def text(self, rva):
        start = self.offset(rva)
        return bytes(self.data[start:self.data.index(b"\0", start)]).decode("ascii")

    def imported_libraries(self):
        names = []
        # Import descriptors are 20 bytes with the name at 12; delay ones 32 bytes with it at 4.
        for entry, size, name_at in ((IMPORT_ENTRY, 20, 12), (DELAY_IMPORT_ENTRY, 32, 4)):
            rva, _ = self.directory(entry)
            while rva:
                name = struct.unpack_from("<I", self.data, self.offset(rva) + name_at)[0]
                if name == 0:
                    break
                names.append(self.text(name))
                rva += size
        return names

    def dependent_load_flags(self):
        rva, size = self.directory(LOAD_CONFIGURATION_ENTRY)
        if rva == 0 or size < DEPENDENT_LOAD_FLAGS_OFFSET + 2:
            return None
        return struct.unpack_from("<H", self.data, self.offset(rva) + DEPENDENT_LOAD_FLAGS_OFFSET)[0]


def set_load_configuration(exe, link_map):
    with open(link_map, encoding="utf-8", errors="replace") as map_file:
        found = re.search(r"^\s+0x([0-9a-fA-F]+)\s+_load_config_used\s*$", map_file.read(),
                          re.MULTILINE)
    if not found:
        sys.exit(f"{link_map}: no _load_config_used in the link map")
    with open(exe, "rb") as exe_file:
        image = Image(exe_file.read())
    rva = int(found.group(1), 16) - image.image_base
    size = struct.unpack_from("<I", image.data, image.offset(rva))[0]
    struct.pack_into("<II", image.data, image.directories + 8 * LOAD_CONFIGURATION_ENTRY, rva, size)
    with open(exe, "wb") as exe_file:
        exe_file.write(image.data)


def check(path):
    if path.lower().endswith(".zip"):
        with zipfile.ZipFile(path) as archive:
            data = archive.read("VestroFile.exe")
    else:
        with open(path, "rb") as exe_file:
            data = exe_file.read()
    image = Image(data)
    libraries = image.imported_libraries()
    strangers = [name for name in libraries if name.lower() not in ALLOWED_LIBRARIES
                 and not name.lower().startswith("api-ms-win-")]
    flags = image.dependent_load_flags()
    failures = []
    if strangers:
        failures.append("imports libraries Windows would look for beside it first: "
                        + ", ".join(strangers))
    if flags is None or not flags & LOAD_LIBRARY_SEARCH_SYSTEM32:
        failures.append(f"its load configuration does not ask for System32 alone ({flags})")
    for failure in failures:
        print(f"{path}: {failure}", file=sys.stderr)
    if not failures:
        print(f"{path}: imports only {', '.join(libraries)}; "
              f"DependentLoadFlags {flags:#x}")
    return 1 if failures else 0


def main(arguments):
    if len(arguments) == 3 and arguments[0] == "set-load-configuration":
        set_load_configuration(arguments[1], arguments[2])
        return 0
    if len(arguments) == 2 and arguments[0] == "check":
        return check(arguments[1])
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
