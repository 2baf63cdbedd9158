#!/usr/bin/env python3
"""Fails when a library links or includes one above it in the one-way stack.

The layer of each library is the LAYER of its pellora_add_library call; the
program in pelloraVav/ sits on top. A library may use libraries of its own
layer or below. Usage: check-layers.py [ROOT]
"""
import os
import re
import sys

PROGRAM = ("pelloraVav", 99)


def libraries(root):
    found = {}
    for entry in sorted(os.listdir(root)):
        cmake = os.path.join(root, entry, "CMakeLists.txt")
        if not os.path.isfile(cmake):
            continue
        text = open(cmake, encoding="utf-8").read()
        call = re.search(r"pellora_add_library\(\s*(\w+)\s+LAYER\s+(\d+)(.*?)\)", text, re.S)
        if not call:
            continue
        body = call.group(3)
        linked = set()
        for group in re.finditer(r"(PUBLIC_LIBS|PRIVATE_LIBS)((?:\s+[\w:]+)+)", body):
            linked.update(name for name in group.group(2).split() if "::" not in name
                          and name not in ("PUBLIC_LIBS", "PRIVATE_LIBS", "SOURCES"))
        found[call.group(1)] = {"dir": entry, "layer": int(call.group(2)), "links": linked}
    if os.path.isdir(os.path.join(root, PROGRAM[0])):
        found[PROGRAM[0]] = {"dir": PROGRAM[0], "layer": PROGRAM[1], "links": set()}
    return found


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    libs = libraries(root)
    owner = {}
    for name, lib in libs.items():
        for folder, _, files in os.walk(os.path.join(root, lib["dir"])):
            for file in files:
                if file.endswith(".h"):
                    owner.setdefault(file, name)

    faults = []
    for name, lib in libs.items():
        for linked in sorted(lib["links"]):
            if linked not in libs:
                continue
            if libs[linked]["layer"] > lib["layer"]:
                faults.append(f"{name} links {linked}, which is above it")
        for folder, _, files in os.walk(os.path.join(root, lib["dir"])):
            for file in sorted(files):
                if not file.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, file)
                for number, line in enumerate(open(path, encoding="utf-8"), 1):
                    include = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
                    if not include:
                        continue
                    used = owner.get(os.path.basename(include.group(1)))
                    if used and used != name and libs[used]["layer"] > lib["layer"]:
                        faults.append(f"{os.path.relpath(path, root)}:{number}: {name} "
                                      f"includes {include.group(1)} of {used}, which is above it")
    for fault in faults:
        print(fault)
    if faults:
        return 1
    print(f"layers: {len(libs)} libraries, no dependency upwards")
    return 0


if __name__ == "__main__":
    sys.exit(main())
