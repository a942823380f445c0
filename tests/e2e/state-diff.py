#!/usr/bin/env python3
"""The whole machine of a Wine prefix before and after an installation.

  state-diff.py snapshot PREFIX OUT.json
      every key and value of HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER (from the prefix's
      registry files, which Wine writes when its server stops) and every file and folder of
      drive C: (type, size, modification time, mode)
  state-diff.py diff BEFORE.json AFTER.json ALLOWED.txt
      prints one PASS or FAIL line, and each change that ALLOWED.txt does not cover

  state-diff.py changes BEFORE.json AFTER.json
      prints every change, one "+ ", "- " or "~ " line per key, value or path, sorted; for a
      scenario that compares them with a reviewed list

ALLOWED.txt holds lines "registry PREFIX" and "files PREFIX" (UTF-8, "#" comments): a key,
value ("KEY [NAME]") or path that starts with PREFIX, letter case aside, may change; a PREFIX
ending in "$" covers that one key, value or path only, not what lies below it. %APPDATA%
stands for the prefix user's application-data folder, %TEMP% for its folder of temporary files.
"""
import getpass
import json
import os
import re
import sys

ESCAPE = re.compile(r"\\x([0-9a-fA-F]{1,4})|\\(.)")


def unescape(text):
    """Wine's registry files escape backslashes and write other characters as \\xNNNN."""
    def replace(match):
        if match.group(1) is not None:
            return chr(int(match.group(1), 16))
        return {"n": "\n", "r": "\r", "t": "\t", "0": "\0"}.get(match.group(2), match.group(2))
    return ESCAPE.sub(replace, text)


def read_registry(path, root, state):
    key = None
    pending = ""
    with open(path, encoding="utf-8", errors="surrogateescape") as lines:
        for raw in lines:
            line = pending + raw.rstrip("\n")
            pending = ""
            if line.endswith("\\") and key is not None and not line.startswith("["):
                pending = line[:-1]
                continue
            if line.startswith("["):
                end = line.rfind("]")
                key = root + "\\" + unescape(line[1:end])
                # The file lists a key without values only when it has no sub-keys either:
                # every key above a listed one exists too.
                parts = key.split("\\")
                for depth in range(2, len(parts) + 1):
                    name = "\\".join(parts[:depth])
                    state.setdefault(name.upper(), ["key", name, ""])
            elif key is not None and line and not line.startswith("#") and "=" in line:
                if line.startswith("@="):
                    name, data = "", line[2:]
                else:
                    match = re.match(r'"((?:[^"\\]|\\.)*)"=(.*)', line)
                    if not match:
                        continue
                    name, data = unescape(match.group(1)), match.group(2)
                label = f"{key} [{name}]"
                state[label.upper()] = ["value", label, data]


def read_files(drive, state):
    for folder, folders, files in os.walk(drive):
        for name in folders + files:
            full = os.path.join(folder, name)
            info = os.lstat(full)
            kind = "link" if os.path.islink(full) else ("folder" if name in folders else "file")
            relative = os.path.relpath(full, drive).replace("/", "\\")
            label = "C:\\" + relative
            detail = f"{kind} mode {info.st_mode:o}"
            if kind == "file":
                detail += f" size {info.st_size} time {info.st_mtime_ns}"
            state[label.upper()] = [kind, label, detail]
        # Links lead out of the prefix (the user's shell folders): not followed.
        folders[:] = [f for f in folders if not os.path.islink(os.path.join(folder, f))]


def snapshot(prefix, out):
    registry = {}
    read_registry(os.path.join(prefix, "system.reg"), "HKLM", registry)
    read_registry(os.path.join(prefix, "user.reg"), "HKCU", registry)
    files = {}
    read_files(os.path.join(prefix, "drive_c"), files)
    with open(out, "w", encoding="utf-8", errors="surrogateescape") as target:
        json.dump({"registry": registry, "files": files}, target)


def read_allowed(path):
    appdata = f"C:\\users\\{getpass.getuser()}\\AppData\\Roaming"
    # Wine's TEMP; Windows keeps it in AppData\Local\Temp.
    temp = f"C:\\users\\{getpass.getuser()}\\Temp"
    allowed = {"registry": [], "files": []}
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            line = line.rstrip("\n").rstrip("\r")
            if not line or line.startswith("#"):
                continue
            kind, prefix = line.split(" ", 1)
            allowed[kind].append(
                prefix.replace("%APPDATA%", appdata).replace("%TEMP%", temp).upper())
    return allowed


def covers(prefix, label):
    if prefix.endswith("$"):
        return label == prefix[:-1]
    return label.startswith(prefix)


def load(path):
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        return json.load(f)


def changes_of(before, after, part):
    old, new = before[part], after[part]
    changes = [("-", old[k][1]) for k in old if k not in new]
    changes += [("+", new[k][1]) for k in new if k not in old]
    changes += [("~", new[k][1]) for k in new if k in old and new[k] != old[k]]
    return changes


def print_changes(before_path, after_path):
    before, after = load(before_path), load(after_path)
    for part in ("registry", "files"):
        for sign, label in sorted(changes_of(before, after, part), key=lambda c: c[1].upper()):
            print(f"{sign} {label}")
    return 0


def diff(before_path, after_path, allowed_path):
    before, after = load(before_path), load(after_path)
    allowed = read_allowed(allowed_path)
    stray, counted = [], {"registry": 0, "files": 0}
    for part in ("registry", "files"):
        changes = changes_of(before, after, part)
        counted[part] = len(changes)
        for sign, label in sorted(changes, key=lambda c: c[1].upper()):
            if not any(covers(p, label.upper()) for p in allowed[part]):
                stray.append(f"{sign} {label}")
    summary = (f"only the installation's own places changed ({counted['registry']} registry and "
               f"{counted['files']} file changes among {len(after['registry'])} keys and values "
               f"and {len(after['files'])} files)")
    if stray:
        print(f"FAIL: {summary}: {len(stray)} changes elsewhere:")
        for line in stray:
            print(f"    {line}")
        return 1
    if counted["registry"] == 0 or counted["files"] == 0:
        print(f"FAIL: {summary}: the installation changed nothing at all")
        return 1
    print(f"PASS: {summary}")
    return 0


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "snapshot":
        snapshot(sys.argv[2], sys.argv[3])
        return 0
    if len(sys.argv) == 4 and sys.argv[1] == "changes":
        return print_changes(sys.argv[2], sys.argv[3])
    if len(sys.argv) == 5 and sys.argv[1] == "diff":
        return diff(sys.argv[2], sys.argv[3], sys.argv[4])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main())
