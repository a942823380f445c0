#!/usr/bin/env python3
"""Fails unless every given Windows program carries the application manifest it needs.

    scripts/check-manifest.py EXE...

Each .exe (32- or 64-bit) must hold an RT_MANIFEST resource that asks for no elevation
(requestedExecutionLevel level="asInvoker" uiAccess="false") and names no assembly dependency,
so it starts from a bare folder on any machine. Without the execution level Windows' installer
detection asks a 32-bit program named like an installer (SetUp.exe) for elevation, and the
program then writes another account's settings; without any manifest a 32-bit program is also
subject to registry and file virtualisation.

Exit status: 0 when every program passes, 1 when one does not, 2 when a file is no PE program.
"""
import struct
import sys
import xml.etree.ElementTree as ElementTree

from pe_resources import RT_MANIFEST, NotAProgram, resources


def manifests(data):
    """Every RT_MANIFEST resource of the program, as bytes."""
    return [found.data for found in resources(data) if found.type == RT_MANIFEST]


def local(tag):
    return tag.rsplit("}", 1)[-1]


def problems_of(manifest):
    try:
        root = ElementTree.fromstring(manifest)
    except ElementTree.ParseError as error:
        return ["the manifest is not well-formed XML (%s)" % error]
    problems = []
    levels = [e for e in root.iter() if local(e.tag) == "requestedExecutionLevel"]
    if len(levels) != 1:
        problems.append("%d requestedExecutionLevel elements, not one" % len(levels))
    for level in levels:
        if level.get("level") != "asInvoker":
            problems.append('level="%s", not "asInvoker"' % level.get("level"))
        if level.get("uiAccess") != "false":
            problems.append('uiAccess="%s", not "false"' % level.get("uiAccess"))
    for element in root.iter():
        if local(element.tag) in ("dependency", "dependentAssembly"):
            problems.append("it names an assembly dependency")
            break
    return problems


def main(paths):
    if not paths:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    status = 0
    for path in paths:
        try:
            with open(path, "rb") as program:
                found = manifests(program.read())
        except (OSError, NotAProgram, struct.error) as error:
            print("%s: cannot be read as a program: %s" % (path, error), file=sys.stderr)
            return 2
        if not found:
            print("%s: has no manifest" % path)
            status = 1
            continue
        if len(found) > 1:
            print("%s: has %d manifests, Windows reads only one" % (path, len(found)))
            status = 1
            continue
        problems = problems_of(found[0])
        if problems:
            print("%s: %s" % (path, "; ".join(problems)))
            status = 1
        else:
            print("%s: asInvoker, uiAccess false, no dependency" % path)
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
