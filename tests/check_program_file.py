#!/usr/bin/python3
"""Static checks of a built Vantorel.exe: a GUI program that imports Windows system DLLs only."""
import struct
import sys

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "comctl32.dll",
               "ole32.dll", "msvcrt.dll", "advapi32.dll"}


class PeFile:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        (pe_offset,) = struct.unpack_from("<I", self.data, 0x3C)
        assert self.data[pe_offset:pe_offset + 4] == b"PE\0\0", "not a PE file"
        self.machine, sections, _, _, _, optional_size, self.characteristics = struct.unpack_from(
            "<HHIIIHH", self.data, pe_offset + 4)
        self.optional = pe_offset + 24
        magic = struct.unpack_from("<H", self.data, self.optional)[0]
        self.is64 = magic == 0x20B
        self.subsystem, self.dll_characteristics = struct.unpack_from(
            "<HH", self.data, self.optional + 68)
        directories = self.optional + (112 if self.is64 else 96)
        self.directories = [struct.unpack_from("<II", self.data, directories + 8 * i)
                            for i in range(16)]
        self.sections = []
        table = self.optional + optional_size
        for i in range(sections):
            name, vsize, va, rawsize, rawptr, _, _, _, _, flags = struct.unpack_from(
                "<8sIIIIIIHHI", self.data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode(), va, vsize, rawptr, rawsize, flags))

    def offset(self, rva):
        for _, va, vsize, rawptr, rawsize, _ in self.sections:
            if va <= rva < va + max(vsize, rawsize):
                return rva - va + rawptr
        raise ValueError(f"RVA {rva:#x} is in no section")

    def string(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode()

    def imports(self):
        rva, _ = self.directories[1]
        names = []
        at = self.offset(rva)
        while True:
            entry = struct.unpack_from("<IIIII", self.data, at)
            if entry == (0, 0, 0, 0, 0):
                return names
            names.append(self.string(entry[3]))
            at += 20


def main(path):
    pe = PeFile(path)
    failures = []
    if pe.subsystem != 2:
        failures.append(f"subsystem is {pe.subsystem}, not the Windows GUI (2)")
    imports = [name.lower() for name in pe.imports()]
    foreign = sorted(set(imports) - SYSTEM_DLLS)
    if foreign:
        failures.append("imports DLLs that are not part of Windows: " + ", ".join(foreign))
    print(f"{path}: {'PE32+' if pe.is64 else 'PE32'}, imports {', '.join(imports)}")
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
