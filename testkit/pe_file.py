# What the checks of tests/resources read from a built program, with the standard library only: a PE32+
# file's headers, sections, imports and resources; and how the checks report.
import struct
import subprocess
import sys


class BadFile(Exception):
    pass


class Pe:
    def __init__(self, path):
        self.path = path
        with open(path, "rb") as f:
            self.data = data = f.read()
        pe = self.u32(0x3C)
        opt = pe + 24
        if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0" or self.u16(opt) != 0x20B:
            raise BadFile("not a PE32+ (64-bit) image")
        self.machine, count = struct.unpack_from("<HH", data, pe + 4)
        self.subsystem, self.dll_flags = struct.unpack_from("<HH", data, opt + 68)
        self.dirs = [struct.unpack_from("<II", data, opt + 112 + 8 * i) for i in range(min(self.u32(opt + 108), 16))]
        first = opt + self.u16(pe + 20)
        self.sections = []  # (name, RVA, size in memory, file offset, size in the file, characteristics)
        for at in range(first, first + 40 * count, 40):
            vsize, va, raw_size, raw = struct.unpack_from("<IIII", data, at + 8)
            name = data[at:at + 8].rstrip(b"\0").decode("latin-1")
            self.sections.append((name, va, max(vsize, raw_size), raw, raw_size, self.u32(at + 36)))

    def u16(self, at):
        return struct.unpack_from("<H", self.data, at)[0]

    def u32(self, at):
        return struct.unpack_from("<I", self.data, at)[0]

    def at(self, rva):
        """The file offset of an RVA."""
        for _, va, size, raw, raw_size, _ in self.sections:
            if va <= rva < va + size and rva - va < raw_size:
                return raw + rva - va
        raise BadFile(f"RVA {rva:#x} lies in no section")

    def c_string(self, rva):
        start = self.at(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("latin-1")

    def imports(self):
        """{DLL: [names of the functions imported by name]} of the import table."""
        found, at = {}, self.at(self.dirs[1][0]) if self.dirs[1][1] else None
        while at is not None and self.u32(at + 12):
            lookup, _, _, name_rva, iat = struct.unpack_from("<IIIII", self.data, at)
            dll, thunk = self.c_string(name_rva), self.at(lookup or iat)
            found[dll] = []
            while entry := struct.unpack_from("<Q", self.data, thunk)[0]:
                if not entry >> 63:  # by name, not by ordinal
                    found[dll].append(self.c_string(entry + 2))
                thunk += 8
            at += 20
        return found

    def resources(self):
        """{type: {id: data of its first language}}, in the directory's order."""
        rva, size = self.dirs[2]
        root = self.at(rva)

        def entries(table):
            named, ids = struct.unpack_from("<HH", self.data, table + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, table + 16 + 8 * i)
                yield name, root + (target & 0x7FFFFFFF)

        found = {}
        for kind, names in entries(root) if size else ():
            for name, languages in entries(names):
                data_rva, data_size = struct.unpack_from("<II", self.data, next(entries(languages))[1])
                found.setdefault(kind, {})[name] = self.data[self.at(data_rva):self.at(data_rva) + data_size]
        return found


def same(label, have, want):
    """A check that a value read from the file is the one wanted: (passed, text)."""
    return have == want, f"{label} {have!r}" + ("" if have == want else f", expected {want!r}")


def report(tool, programs, checks):
    """Prints a line for each (passed, text) that checks(Pe) yields for each program. Exit status: 0 every
    check passed, 1 some check failed, 2 a program could not be read or a tool not run."""
    if not programs:
        print(f"usage: {tool} PROGRAM.exe...", file=sys.stderr)
        return 2
    status = 0
    for program in programs:
        try:
            results = []
            for passed, text in checks(Pe(program)):
                print(("ok   " if passed else "FAIL ") + text)
                results.append(passed)
        except (OSError, BadFile, LookupError, ValueError, struct.error, subprocess.CalledProcessError) as problem:
            print(f"{tool}: cannot check {program}: {problem}", file=sys.stderr)
            return 2
        failed = results.count(False)
        print(f"{tool}: {program}: " + (f"{failed} of {len(results)} checks failed" if failed else
                                        f"all {len(results)} checks passed"))
        status = max(status, 1 if failed else 0)
    return status
