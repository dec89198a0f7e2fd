#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into tests/fuzz/corpus/.

Each seed is spelled out here so that what it stands for stays readable; the
files are only its bytes. Run again after changing a seed, and keep both.
"""

import pathlib
import shutil
import struct

HERE = pathlib.Path(__file__).resolve().parent

# The registry seeds' first byte: which of the registry's calls succeed.
OPEN, SIZE, READ, ROOTED = 1, 2, 4, 8
ALL = OPEN | SIZE | READ | ROOTED
REG_SZ, REG_EXPAND_SZ, REG_DWORD = 1, 2, 4


def registry(flags, value_type, size, data):
    return bytes([flags]) + struct.pack("<II", value_type, size) + data


def sz(text):
    return text.encode("cp932") + b"\0"


install = sz("C:\\Program Files\\ザルミナ")

REGISTRY = {
    "normal-string": registry(ALL, REG_SZ, len(install), install),
    "expand-string": registry(ALL, REG_EXPAND_SZ, len(install), install),
    "unrooted-key-path": registry(OPEN | SIZE | READ, REG_SZ, len(install), install),
    "trailing-backslash": registry(ALL, REG_SZ, 16, sz("C:\\Zarumina\\") + b"\0\0\0"),
    "no-nul": registry(ALL, REG_SZ, 11, b"C:\\Zarumina"),
    "bytes-after-nul": registry(ALL, REG_SZ, 14, b"C:\\App\0garbage"),
    "size-larger-than-data": registry(ALL, REG_SZ, 64, b"C:\\Short"),
    "size-smaller-than-data": registry(ALL, REG_SZ, 4, b"C:\\Longer\\Path\0"),
    "size-0": registry(ALL, REG_SZ, 0, b""),
    "dword-type": registry(ALL, REG_DWORD, 4, struct.pack("<I", 1)),
    "dword-type-read-failure": registry(OPEN | SIZE | ROOTED, REG_DWORD, 4, b""),
    "read-failure": registry(OPEN | SIZE | ROOTED, REG_SZ, len(install), install),
    "size-query-failure": registry(OPEN | READ | ROOTED, REG_SZ, 8, b"C:\\App\0"),
    "open-failure": registry(SIZE | READ | ROOTED, REG_SZ, 8, b"C:\\App\0"),
}

FOLDER = {
    "plain-path": b"C:\\Users\\me\\Downloads\\Update.exe",
    "unc-path": b"\\\\server\\share\\Update.exe",
    "trail-5c-hyou": "C:\\表\\表.exe".encode("cp932"),  # 95 5C
    "trail-5c-so": "C:\\ソフト\\ソ".encode("cp932"),  # 83 5C
    "trail-5c-nou": "C:\\dir\\能Update.exe".encode("cp932"),  # 94 5C
    "colon": b"C:Update.exe",
    "colon-after-backslash": b"C:\\dir\\stream:Update.exe",
    "no-separator": b"Update.exe",
    "lone-lead-byte-at-end": b"C:\\dir\\\x95",
    "half-width-katakana": b"C:\\\xb1\\Update.exe",
}


def write(folder, seeds):
    target = HERE / "corpus" / folder
    shutil.rmtree(target, ignore_errors=True)
    target.mkdir(parents=True)
    for name, data in seeds.items():
        (target / name).write_bytes(data)


write("registry", REGISTRY)
write("folder", FOLDER)
