#!/usr/bin/env python3
"""Fails unless every given Windows program says what it is, and shows the product's icon.

    scripts/check-version-info.py PRODUCT_IDENTITY.H PRODUCT.ICO EXE...

Each .exe (32- or 64-bit) must hold one version resource, in Simplified Chinese (0x0804), whose
fixed file and product versions are setupVersion's (YYYYMMDD in PRODUCT_IDENTITY.H, as
YYYY.M.D.0), with one string table 080404b0 (Chinese, UTF-16) that VarFileInfo's Translation
names, and in it the product's name, the same versions as text, a file description that names
the product, the company, a copyright line with the company and the year, and the original file
name. This is what Explorer's Details tab and SmartScreen show. Its first icon group, the icon
Explorer and installed apps show, must be PRODUCT.ICO image for image.

Exit status: 0 when every program passes, 1 when one does not, 2 when a file cannot be read.
"""
import re
import struct
import sys

from pe_resources import RT_GROUP_ICON, RT_ICON, RT_VERSION, NotAProgram, resources

PRODUCT_NAME = "Zelvar批打印软件"
CHINESE = 0x0804
UTF16 = 1200
TABLE = "%04x%04x" % (CHINESE, UTF16)


def setup_version(constants):
    found = re.search(r"setupVersion = (\d{4})(\d{2})(\d{2});", constants)
    if found is None:
        raise ValueError("no setupVersion = YYYYMMDD;")
    return tuple(int(part) for part in found.groups())


def align(offset):
    return (offset + 3) & ~3


def nodes(block, start, end):
    """The nodes of a version resource between start and end, each as
    (key, value bytes, value is text, (start, end) of its children)."""
    while start + 6 <= end:
        length, value_length, kind = struct.unpack_from("<HHH", block, start)
        if length < 6:
            return
        key_end = start + 6
        while block[key_end:key_end + 2] not in (b"\0\0", b""):
            key_end += 2
        key = block[start + 6:key_end].decode("utf-16-le")
        value_at = align(key_end + 2)
        value_size = value_length * 2 if kind == 1 else value_length
        children = align(value_at + value_size)
        yield key, block[value_at:value_at + value_size], kind == 1, (children, start + length)
        start = align(start + length)


def text(value):
    return value.decode("utf-16-le").rstrip("\0")


def version_problems(found, version):
    versions = [r for r in found if r.type == RT_VERSION]
    if not versions:
        return ["has no version resource"]
    if len(versions) > 1:
        return ["has %d version resources, not one" % len(versions)]
    block = versions[0].data
    problems = []
    if versions[0].language != CHINESE:
        problems.append("the version resource's language is 0x%04x" % versions[0].language)
    root = list(nodes(block, 0, len(block)))
    if len(root) != 1 or root[0][0] != "VS_VERSION_INFO" or len(root[0][1]) < 52:
        return problems + ["the version resource is no VS_VERSION_INFO"]
    _, fixed, _, children = root[0]
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    year, month, day = version
    wanted = ((year << 16) | month, day << 16)
    if signature != 0xFEEF04BD:
        problems.append("the fixed file information has no signature")
    for what, got in (("file", (file_ms, file_ls)), ("product", (product_ms, product_ls))):
        if got != wanted:
            problems.append("fixed %s version %d.%d.%d.%d" % (
                what, got[0] >> 16, got[0] & 0xFFFF, got[1] >> 16, got[1] & 0xFFFF))

    tables, translations = {}, []
    for key, _, _, (start, end) in nodes(block, *children):
        for name, value, _, (inner_start, inner_end) in nodes(block, start, end):
            if key == "StringFileInfo":
                tables[name] = {k: text(v) for k, v, _, _ in nodes(block, inner_start, inner_end)}
            elif key == "VarFileInfo" and name == "Translation":
                translations = list(struct.iter_unpack("<HH", value[:len(value) // 4 * 4]))
    if list(tables) != [TABLE]:
        problems.append("string tables %s, not only %s" % (sorted(tables), TABLE))
    if translations != [(CHINESE, UTF16)]:
        problems.append("Translation %s" % translations)
    strings = tables.get(TABLE, {})
    version_text = "%d.%d.%d.0" % version
    expected = {"ProductName": PRODUCT_NAME, "FileVersion": version_text,
                "ProductVersion": version_text}
    for name, value in expected.items():
        if strings.get(name) != value:
            problems.append("%s %r, not %r" % (name, strings.get(name), value))
    company = strings.get("CompanyName", "")
    if not company:
        problems.append("no CompanyName")
    if not strings.get("OriginalFilename"):
        problems.append("no OriginalFilename")
    if not strings.get("FileDescription", "").startswith(PRODUCT_NAME):
        problems.append("FileDescription %r names not the product" % strings.get("FileDescription"))
    copyright_line = strings.get("LegalCopyright", "")
    if not company or company not in copyright_line or str(year) not in copyright_line:
        problems.append("LegalCopyright %r lacks the company or the year" % copyright_line)
    return problems


def icon_problems(found, icon_file):
    groups = [r for r in found if r.type == RT_GROUP_ICON]
    if not groups:
        return ["has no icon"]
    images = {r.name: r.data for r in found if r.type == RT_ICON}
    group = groups[0].data
    _, _, count = struct.unpack_from("<HHH", group)
    _, _, file_count = struct.unpack_from("<HHH", icon_file)
    same = count == file_count
    for k in range(min(count, file_count)):
        *shape, image_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * k)
        *file_shape, offset = struct.unpack_from("<BBBBHHII", icon_file, 6 + 16 * k)
        size = file_shape[-1]
        same = same and shape == file_shape and images.get(image_id) == icon_file[offset:offset + size]
    if not same:
        return ["its first icon group (%r) is not the product's icon" % (groups[0].name,)]
    return []


def main(arguments):
    if len(arguments) < 3:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    try:
        with open(arguments[0], encoding="utf-8") as constants:
            version = setup_version(constants.read())
        with open(arguments[1], "rb") as icon:
            icon_file = icon.read()
    except (OSError, ValueError) as error:
        print("%s: %s" % (arguments[0], error), file=sys.stderr)
        return 2
    status = 0
    for path in arguments[2:]:
        try:
            with open(path, "rb") as program:
                found = resources(program.read())
            problems = version_problems(found, version) + icon_problems(found, icon_file)
        except (OSError, NotAProgram, struct.error) as error:
            print("%s: cannot be read as a program: %s" % (path, error), file=sys.stderr)
            return 2
        if problems:
            print("%s: %s" % (path, "; ".join(problems)))
            status = 1
        else:
            print("%s: version %d.%d.%d.0 in Chinese, the product's icon first" % ((path,) + version))
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
