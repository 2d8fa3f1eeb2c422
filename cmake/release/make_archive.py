#!/usr/bin/env python3
"""Writes the release archive and SHA256SUMS beside it.

The archive depends on nothing but the files' contents and one date: entries in the order given,
each with the same time (SOURCE_DATE_EPOCH, or else the time of the last commit), fixed modes,
no extra fields and no comment. SHA256SUMS lists the archive and each file in it, so a user can
check both the download and the unpacked VestroFile.exe.

    make_archive.py --source-dir <checkout> --output <name>.zip NAME=PATH...
"""

import argparse
import hashlib
import os
import subprocess
import sys
import time
import zipfile

# The oldest time a zip entry can hold.
ZIP_EPOCH = 315532800  # 1980-01-01 00:00:00 UTC


def source_date_epoch(source_dir):
    value = os.environ.get("SOURCE_DATE_EPOCH")
    if value:
        return int(value)
    try:
        output = subprocess.run(
            ["git", "-C", source_dir, "log", "-1", "--format=%ct"],
            check=True, capture_output=True, text=True).stdout.strip()
        return int(output)
    except (OSError, subprocess.CalledProcessError, ValueError):
        sys.exit("make_archive.py: no SOURCE_DATE_EPOCH and no git commit in " + source_dir +
                 "; set SOURCE_DATE_EPOCH to the release's time in seconds since 1970")


def entry_for(name, date_time):
    entry = zipfile.ZipInfo(name, date_time)
    entry.compress_type = zipfile.ZIP_DEFLATED
    # Made on Unix, so unzip there restores the modes; Windows ignores them.
    entry.create_system = 3
    mode = 0o755 if name.lower().endswith(".exe") else 0o644
    entry.external_attr = (0o100000 | mode) << 16
    return entry


def sha256_of(data):
    return hashlib.sha256(data).hexdigest()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("files", nargs="+", metavar="NAME=PATH")
    arguments = parser.parse_args()

    # Zip times have no zone; the UTC time is stored, the same on every machine.
    epoch = max(source_date_epoch(arguments.source_dir), ZIP_EPOCH)
    date_time = time.gmtime(epoch)[:6]

    members = []
    for item in arguments.files:
        name, separator, path = item.partition("=")
        if not separator:
            sys.exit("make_archive.py: expected NAME=PATH, got " + item)
        with open(path, "rb") as file:
            members.append((name, file.read()))

    output_dir = os.path.dirname(os.path.abspath(arguments.output))
    os.makedirs(output_dir, exist_ok=True)
    partial = arguments.output + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for name, data in members:
            archive.writestr(entry_for(name, date_time), data, compresslevel=9)
    os.replace(partial, arguments.output)

    with open(arguments.output, "rb") as file:
        archive_data = file.read()
    archive_name = os.path.basename(arguments.output)
    sums = [(sha256_of(archive_data), archive_name)]
    sums += [(sha256_of(data), name) for name, data in members]
    sums_path = os.path.join(output_dir, "SHA256SUMS")
    with open(sums_path, "w", encoding="ascii", newline="\n") as file:
        file.writelines(f"{digest}  {name}\n" for digest, name in sums)

    print(f"{arguments.output}: {len(archive_data)} bytes, "
          f"dated {time.strftime('%Y-%m-%d %H:%M:%S UTC', time.gmtime(epoch))}")
    print(f"{sums_path}:")
    for digest, name in sums:
        print(f"  {digest}  {name}")


if __name__ == "__main__":
    main()
