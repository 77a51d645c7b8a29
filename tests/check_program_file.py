#!/usr/bin/python3
"""Static checks of a built Vantorel.exe: a hardened GUI program that imports Windows system DLLs
only and carries exactly its icon group, version information and manifest."""
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

    def imported_functions(self, dll):
        """The names `dll` is imported by (ordinals left out)."""
        rva, _ = self.directories[1]
        at = self.offset(rva)
        while True:
            lookup, _, _, name, thunks = struct.unpack_from("<IIIII", self.data, at)
            if name == 0:
                return []
            if self.string(name).lower() == dll:
                break
            at += 20
        size, ordinal_flag = (8, 1 << 63) if self.is64 else (4, 1 << 31)
        entry = self.offset(lookup or thunks)
        functions = []
        while True:
            (value,) = struct.unpack_from("<Q" if self.is64 else "<I", self.data, entry)
            if value == 0:
                return functions
            if not value & ordinal_flag:
                functions.append(self.string(value + 2))
            entry += size


    def resources(self):
        """(type, name, language) -> bytes, in the order the resource directory lists them."""
        rva, _ = self.directories[2]
        base = self.offset(rva)

        def entries(at):
            named, numbered = struct.unpack_from("<HH", self.data, at + 12)
            for i in range(named + numbered):
                key, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
                if key & 0x80000000:
                    start = base + (key & 0x7FFFFFFF)
                    (length,) = struct.unpack_from("<H", self.data, start)
                    key = self.data[start + 2:start + 2 + 2 * length].decode("utf-16-le")
                yield key, target

        found = {}
        for rtype, t in entries(base):
            for name, n in entries(base + (t & 0x7FFFFFFF)):
                for language, leaf in entries(base + (n & 0x7FFFFFFF)):
                    data_rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(data_rva)
                    found[(rtype, name, language)] = self.data[start:start + size]
        return found


RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
ICON_SIZES = [256, 128, 96, 72, 64, 48, 32, 24, 16]
VERSION_STRINGS = [("FileVersion", "1.0.0.0"), ("FileDescription", "Vantorel1.0"),
                   ("ProductName", "Vantorel1.0"), ("ProductVersion", "1.0.0.0"),
                   ("CompanyName", None), ("LegalCopyright", None), ("Comments", "Vantorel1.0")]


def check_icons(resources, failures):
    group = resources.get((RT_GROUP_ICON, "DEFAULT_ICON", 0))
    if group is None:
        failures.append("no icon group DEFAULT_ICON in the neutral language")
        return
    _, kind, count = struct.unpack_from("<HHH", group, 0)
    sizes = []
    for i in range(count):
        w, h, colors, _, planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group,
                                                                          6 + 14 * i)
        sizes.append(w or 256)
        if (w, h) != (w, w) or colors != 0 or planes != 1 or bits != 32:
            failures.append(f"icon entry {i}: {w}x{h}, {colors} colours, {planes} planes, {bits} bits")
        image = resources.get((RT_ICON, icon_id, 0))
        if image is None:
            failures.append(f"icon image {icon_id} missing")
            continue
        if image[:4] == b"\x89PNG":
            failures.append(f"icon image {w or 256}: PNG, not an uncompressed bitmap")
            continue
        header_size, width, height, _, bpp, compression = struct.unpack_from("<IiiHHI", image, 0)
        if (width, height, bpp, compression) != (w or 256, 2 * (w or 256), 32, 0):
            failures.append(f"icon image {w or 256}: header {width}x{height} {bpp} bits")
            continue
        side = width
        pixels = image[header_size:header_size + side * side * 4]
        mask = image[header_size + side * side * 4:]
        stride = (side + 31) // 32 * 4
        mismatched = 0
        for y in range(side):
            for x in range(side):
                alpha = pixels[(y * side + x) * 4 + 3]
                bit = (mask[y * stride + x // 8] >> (7 - x % 8)) & 1
                mismatched += (bit == 1) != (alpha == 0)
                if alpha == 255:
                    failures.append(f"icon image {side}: a fully opaque pixel at {x},{y}")
                    break
        if mismatched:
            failures.append(f"icon image {side}: mask disagrees with alpha at {mismatched} pixels")
    if sizes != ICON_SIZES:
        failures.append(f"icon sizes {sizes}, expected {ICON_SIZES}")


def version_strings(block):
    """The (key, value) pairs of every String in a VS_VERSIONINFO block, in order."""
    pairs = []

    def walk(at, end):
        while at < end:
            length, value_length, is_text = struct.unpack_from("<HHH", block, at)
            if length == 0:
                return
            key_end = at + 6
            while block[key_end:key_end + 2] != b"\0\0":
                key_end += 2
            key = block[at + 6:key_end].decode("utf-16-le")
            value_at = (key_end + 2 + 3) & ~3
            if is_text and value_length and key not in ("StringFileInfo", "VarFileInfo"):
                raw = block[value_at:value_at + 2 * value_length].decode("utf-16-le")
                pairs.append((key, raw.rstrip("\0")))
                children = end
            else:
                children = (value_at + value_length + 3) & ~3
            if children < at + length and not (is_text and value_length):
                walk(children, at + length)
            at = (at + length + 3) & ~3

    walk(0, len(block))
    return pairs


def check_version(resources, failures):
    block = resources.get((RT_VERSION, 1, 0x0804))
    if block is None:
        failures.append("no version information 1 in language 0x0804")
        return
    fixed = block.find(struct.pack("<I", 0xFEEF04BD))
    (_, _, file_ms, file_ls, product_ms, product_ls, mask, flags, os_, ftype, subtype, date_ms,
     date_ls) = struct.unpack_from("<13I", block, fixed)
    if (file_ms, file_ls, product_ms, product_ls) != (0x10000, 0, 0x10000, 0):
        failures.append("file and product version are not 1.0.0.0")
    if (mask, flags, os_, ftype, subtype, date_ms, date_ls) != (0, 0, 4, 1, 0, 0, 0):
        failures.append("fixed version part: wrong flags, OS, type or date")
    if block.find("080404B0".encode("utf-16-le")) < 0:
        failures.append("no string table 080404B0")
    strings = version_strings(block)
    keys = [key for key, _ in strings]
    if keys != [key for key, _ in VERSION_STRINGS]:
        failures.append(f"version keys {keys}")
    for (key, value), (_, expected) in zip(strings, VERSION_STRINGS):
        if expected is not None and value != expected:
            failures.append(f"version {key} is {value!r}, expected {expected!r}")
    translation = block.find("Translation".encode("utf-16-le"))
    value_at = (translation + 24 + 3) & ~3
    if struct.unpack_from("<HH", block, value_at) != (0x0804, 1200):
        failures.append("Translation is not 0x0804 / 1200")


def check_manifest(resources, failures, is64):
    manifest = resources.get((RT_MANIFEST, 1, 0))
    if manifest is None:
        failures.append("no manifest 1 in the neutral language")
        return
    text = manifest.decode("utf-8")
    arch = "amd64" if is64 else "x86"
    expected = (
        '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
        '<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">'
        f'<assemblyIdentity name="Vantorel" processorArchitecture="{arch}" version="5.1.0.0" '
        'type="win32"/><dependency><dependentAssembly><assemblyIdentity type="win32" '
        'name="Microsoft.Windows.Common-Controls" version="6.0.0.0" '
        f'processorArchitecture="{arch}" publicKeyToken="6595b64144ccf1df" language="*"/>'
        '</dependentAssembly></dependency></assembly>')
    if text != expected:
        failures.append("manifest differs: " + text)


IMAGE_FILE_RELOCS_STRIPPED = 0x0001
HIGH_ENTROPY_VA, DYNAMIC_BASE, NX_COMPAT, TERMINAL_SERVER_AWARE = 0x20, 0x40, 0x100, 0x8000
SCN_EXECUTE, SCN_WRITE = 0x20000000, 0x80000000


def check_hardening(pe, failures):
    wanted = {"DYNAMIC_BASE": DYNAMIC_BASE, "NX_COMPAT": NX_COMPAT,
              "TERMINAL_SERVER_AWARE": TERMINAL_SERVER_AWARE}
    if pe.is64:
        wanted["HIGH_ENTROPY_VA"] = HIGH_ENTROPY_VA
    for name, flag in wanted.items():
        if not pe.dll_characteristics & flag:
            failures.append(f"{name} is not set")
    relocations_rva, relocations_size = pe.directories[5]
    if pe.characteristics & IMAGE_FILE_RELOCS_STRIPPED or relocations_size == 0:
        failures.append("relocations stripped: the loader cannot move the program")
    for name, _, _, _, _, flags in pe.sections:
        if flags & SCN_EXECUTE and flags & SCN_WRITE:
            failures.append(f"section {name} is both writable and executable")
    # Looked up at run time, so that the program still starts where kernel32 lacks it.
    if "SetDefaultDllDirectories" in pe.imported_functions("kernel32.dll"):
        failures.append("SetDefaultDllDirectories is imported instead of looked up")
    if b"SetDefaultDllDirectories\0" not in pe.data:
        failures.append("SetDefaultDllDirectories is never looked up")


def main(path):
    pe = PeFile(path)
    failures = []
    if pe.subsystem != 2:
        failures.append(f"subsystem is {pe.subsystem}, not the Windows GUI (2)")
    imports = [name.lower() for name in pe.imports()]
    foreign = sorted(set(imports) - SYSTEM_DLLS)
    if foreign:
        failures.append("imports DLLs that are not part of Windows: " + ", ".join(foreign))
    resources = pe.resources()
    kinds = sorted({rtype for rtype, _, _ in resources})
    if kinds != [RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST]:
        failures.append(f"resource types {kinds}: only icons, version and manifest belong here")
    check_hardening(pe, failures)
    check_icons(resources, failures)
    check_version(resources, failures)
    check_manifest(resources, failures, pe.is64)
    print(f"{path}: {'PE32+' if pe.is64 else 'PE32'}, imports {', '.join(imports)}; "
          f"DllCharacteristics {pe.dll_characteristics:#06x}; {len(resources)} resources")
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
