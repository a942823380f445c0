#!/usr/bin/env python3
"""Fails unless every given Windows program carries the application manifest it needs.

    scripts/check-manifest.py EXE...

Each .exe (32- or 64-bit) must hold an RT_MANIFEST resource that asks for no elevation
(requestedExecutionLevel level="asInvoker" uiAccess="false") and names no assembly dependency,
so it starts from a bare folder on any machine, and that declares its DPI awareness: per-monitor
v2 with system awareness as the fallback (dpiAwareness "PerMonitorV2, system" in the 2016
windowsSettings namespace) and dpiAware "true" (the 2005 namespace) for Windows 7 and 8, so
Windows draws its windows at the monitor's DPI instead of stretching them. Without the
execution level Windows' installer detection asks a 32-bit program named like an installer
(SetUp.exe) for elevation, and the program then writes another account's settings; without any
manifest a 32-bit program is also subject to registry and file virtualisation.

Exit status: 0 when every program passes, 1 when one does not, 2 when a file is no PE program.
"""
import struct
import sys
import xml.etree.ElementTree as ElementTree

from pe_resources import RT_MANIFEST, NotAProgram, resources

APPLICATION_NS = "urn:schemas-microsoft-com:asm.v3"
SETTINGS_2005_NS = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
SETTINGS_2016_NS = "http://schemas.microsoft.com/SMI/2016/WindowsSettings"


def manifests(data):
    """Every RT_MANIFEST resource of the program, as bytes."""
    return [found.data for found in resources(data) if found.type == RT_MANIFEST]


def local(tag):
    return tag.rsplit("}", 1)[-1]


def namespace(tag):
    return tag[1:].split("}", 1)[0] if tag.startswith("{") else ""


def dpi_problems(root):
    """What the manifest lacks of per-monitor v2 awareness with system awareness after it."""
    settings = [e for e in root.iter() if local(e.tag) == "windowsSettings"
                and namespace(e.tag) == APPLICATION_NS]
    if len(settings) != 1:
        return ["%d windowsSettings elements of %s, not one" % (len(settings), APPLICATION_NS)]
    problems = []
    found = {}
    for element in settings[0]:
        found.setdefault((namespace(element.tag), local(element.tag)), []).append(element)
    aware = found.get((SETTINGS_2005_NS, "dpiAware"), [])
    if len(aware) != 1 or (aware[0].text or "").strip().lower() != "true":
        problems.append('no dpiAware "true" of %s' % SETTINGS_2005_NS)
    awareness = found.get((SETTINGS_2016_NS, "dpiAwareness"), [])
    # Windows takes the first value it knows, so PerMonitorV2 must come first and system be
    # the fallback of the systems before it.
    values = [v.strip().lower() for v in (awareness[0].text or "").split(",")] if awareness else []
    if len(awareness) != 1 or values[:1] != ["permonitorv2"] or "system" not in values[1:]:
        problems.append('no dpiAwareness "PerMonitorV2, system" of %s' % SETTINGS_2016_NS)
    return problems


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
    return problems + dpi_problems(root)


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
            print("%s: asInvoker, uiAccess false, no dependency, per-monitor v2 DPI aware" % path)
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
