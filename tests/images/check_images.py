#!/usr/bin/env python3
"""Checks the import and export names of the built Windows images, read with
the toolchain's objdump, where running them proves nothing or cannot happen
(the 32-bit images on a machine that runs no 32-bit process).

On x86 every Windows function is stdcall and the linker knows it as
`Name@<argument bytes>`, while DLLs export it as `Name`: an image that asks
for the decorated name fails to start, or, for a delay-loaded DLL, fails at
the first call. So:
  - no function the program or rasctl imports carries a decoration;
  - the stand-in rasapi32.dll exports every function they import from it;
  - the delay-loaded DLLs are not among the program's start-up imports, and
    their functions are named plainly in it (objdump does not list delay
    imports, so their name strings are looked for in the file).

Usage: check_images.py OBJDUMP PROGRAM STANDIN CALLER DELAY_DEF...
"""
import re
import subprocess
import sys

DECORATED = re.compile(r"@\d+$")


def objdump(tool, image):
    return subprocess.run([tool, "-p", image], check=True, capture_output=True, text=True).stdout


def imports(dump):
    """{dll name, lower case: [function names]} of the start-up import tables."""
    tables, current = {}, None
    for line in dump.splitlines():
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            current = tables.setdefault(named.group(1).lower(), [])
        elif current is not None and not line.strip():
            current = None
        elif current is not None:
            row = re.match(r"\s*[0-9a-f]+\s+\d+\s+(\S+)$", line)
            if row:
                current.append(row.group(1))
    return tables


def exports(dump):
    names, inside = [], False
    for line in dump.splitlines():
        if "[Ordinal/Name Pointer] Table" in line:
            inside = True
        elif inside:
            row = re.match(r"\s*\[\s*\d+\]\s+(\S+)", line)
            if not row:
                break
            names.append(row.group(1))
    return names


def delay_loaded(def_file):
    """(dll name, [plain function names]) of a delay-load .def file."""
    dll, functions, listing = None, [], False
    for line in open(def_file, encoding="utf-8"):
        line = line.split(";", 1)[0].strip()
        if line.startswith("LIBRARY"):
            dll = line.split()[1].lower()
        elif line == "EXPORTS":
            listing = True
        elif listing and line:
            functions.append(DECORATED.sub("", line))
    return dll, functions


def main(tool, program, standin, caller, *delay_defs):
    faults = []
    program_imports = imports(objdump(tool, program))
    caller_imports = imports(objdump(tool, caller))
    standin_exports = set(exports(objdump(tool, standin)))
    image = open(program, "rb").read()

    for name, tables in ((program, program_imports), (caller, caller_imports)):
        for dll, functions in tables.items():
            faults += [f"{name} imports {dll}!{f}, a decorated name" for f in functions if DECORATED.search(f)]
        missing = set(tables.get("rasapi32.dll", [])) - standin_exports
        faults += [f"{name} imports rasapi32.dll!{f}, which the stand-in does not export" for f in sorted(missing)]
    if not program_imports.get("rasapi32.dll"):
        faults.append(f"{program} imports nothing from rasapi32.dll")

    for def_file in delay_defs:
        dll, functions = delay_loaded(def_file)
        if dll in program_imports:
            faults.append(f"{program} loads {dll} at start-up")
        if dll.encode() + b"\0" not in image:
            faults.append(f"{program} does not name {dll}")
        for function in functions:
            if re.search(re.escape(function).encode() + rb"@\d+\0", image):
                faults.append(f"{program} names {dll}!{function} decorated")

    for fault in faults:
        print("FAIL", fault)
    print(f"{len(faults)} fault(s) in {program}, {caller}, {standin}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
