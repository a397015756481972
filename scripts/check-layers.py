#!/usr/bin/env python3
"""Checks that the folders of src/ depend on each other one way only.

Each folder may include its own headers and those of the folders below it,
and its library (a corvane_layer line of src/CMakeLists.txt) links only
libraries of folders below it; the portable core includes no platform header
(an angle-bracket header ending in ".h"); only the composition root (app/)
and WinMain name AppContext. Prints every offending line and exits 1 when
there is one.

Usage: check-layers.py SRC_DIR
"""
import pathlib
import re
import sys

# Each folder and the folders directly below it; what lies below those is
# below it too. The same order as the libraries in src/CMakeLists.txt.
DIRECTLY_BELOW = {
    "forms": [],
    "system": [],
    "settings": ["system"],
    "dial": ["settings"],
    "stats": ["dial", "forms"],
    "ui": ["stats"],
    "app": ["ui"],
    "win32": ["app"],
}
PLATFORM_LAYER = "win32"
# Where AppContext may be named: the context itself and WinMain, which builds it.
CONTEXT_ALLOWED = ("app/", "win32/main.cpp")

QUOTED_INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
ANGLE_INCLUDE = re.compile(r"^\s*#\s*include\s+<([^>]+)>")
CONTEXT_NAME = re.compile(r"\bAppContext\b")
LAYER_LINE = re.compile(r"^\s*corvane_layer\((\w+)([^)]*)\)", re.MULTILINE)
SOURCE_SUFFIXES = {".h", ".cpp"}


def below(folder):
    """Every folder below `folder`, however far."""
    found = set()
    pending = list(DIRECTLY_BELOW[folder])
    while pending:
        lower = pending.pop()
        if lower not in found:
            found.add(lower)
            pending.extend(DIRECTLY_BELOW[lower])
    return found


def check_file(path, relative, folder):
    problems = []
    allowed = below(folder) | {folder}
    for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
        where = f"src/{relative}:{number}"
        quoted = QUOTED_INCLUDE.match(line)
        if quoted:
            target = quoted.group(1)
            if ".." in pathlib.PurePosixPath(target).parts:
                problems.append(f"{where}: include by relative path: {target}")
            elif "/" in target:
                target_folder = target.split("/", 1)[0]
                if target_folder in DIRECTLY_BELOW and target_folder not in allowed:
                    problems.append(f"{where}: {folder}/ includes {target}, but {target_folder}/ is not below it")
        angle = ANGLE_INCLUDE.match(line)
        if angle and folder != PLATFORM_LAYER and angle.group(1).endswith(".h"):
            problems.append(f"{where}: platform header <{angle.group(1)}> outside src/{PLATFORM_LAYER}/")
        if CONTEXT_NAME.search(line) and not relative.startswith(CONTEXT_ALLOWED):
            problems.append(f"{where}: names AppContext; give it the narrow references it uses instead")
    return problems


def check_layer_libraries(src):
    problems = []
    text = (src / "CMakeLists.txt").read_text()
    for folder, linked_text in LAYER_LINE.findall(text):
        if folder not in DIRECTLY_BELOW:
            problems.append(f"src/CMakeLists.txt: library of {folder}/, a folder with no place in the layers")
            continue
        linked = {name.removeprefix("corvane_") for name in linked_text.split()}
        for wrong in sorted(linked - below(folder)):
            problems.append(f"src/CMakeLists.txt: corvane_{folder} links corvane_{wrong}, but {wrong}/ is not below it")
    return problems


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    src = pathlib.Path(sys.argv[1])
    problems = check_layer_libraries(src)
    for path in sorted(src.rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        relative = path.relative_to(src).as_posix()
        folder = relative.split("/", 1)[0]
        if folder not in DIRECTLY_BELOW:
            problems.append(f"src/{relative}: folder {folder}/ has no place in the layers")
            continue
        problems.extend(check_file(path, relative, folder))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
