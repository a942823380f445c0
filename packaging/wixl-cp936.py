#!/usr/bin/env python3
"""wixl for a package with Chinese texts, in a database of code page 936.

  wixl-cp936.py OUT.msi SOURCE.wxs [WIXL OPTION ...]

Run in a folder that holds SOURCE.wxs and the files it includes, which are rewritten there.

wixl 0.101 cannot do it alone: it stores Chinese texts as code page 936 bytes in a database of
the neutral code page 0 (read by Windows in whatever code page the machine has, wrong on a
machine set to UTF-8), and msibuild crashes when it forces the code page of a database that
holds such bytes. So wixl builds the package with an ASCII stand-in for each Chinese attribute
value, the database's code page is forced to 936 while every text is ASCII, and the stand-ins
are then replaced by their texts, which libmsi stores in code page 936. The product's name
stands in as its ASCII part, since wixl also copies it into the summary's comment.
"""
import glob
import re
import subprocess
import sys

ATTRIBUTE = re.compile(r'(\w+)="([^"]*)"')


def run(*args, cwd=None):
    return subprocess.run(args, check=True, capture_output=True, cwd=cwd).stdout.decode()


def query(package, sql):
    subprocess.run(["msibuild", package, "-q", sql], check=True)


def main():
    package, source, options = sys.argv[1], sys.argv[2], sys.argv[3:]
    texts = {}  # stand-in -> text
    product_name = None

    def stand_in(match):
        nonlocal product_name
        name, value = match.group(1), match.group(2)
        if value.isascii():
            return match.group(0)
        tag = match.string[match.string.rfind("<", 0, match.start()):match.start()].split()
        if name == "Name" and tag and tag[0] == "<Product":
            product_name = value
            return f'{name}="{"".join(c for c in value if c.isascii())}"'
        token = next((t for t, v in texts.items() if v == value), None)
        if token is None:
            token = f"zvtext{len(texts) + 1:04d}"
            texts[token] = value
        return f'{name}="{token}"'

    for path in [source] + glob.glob("*.wxi"):
        with open(path, encoding="utf-8") as file:
            text = file.read()
        # Comments are left alone: wixl ignores them.
        parts = re.split(r"(<!--.*?-->)", text, flags=re.S)
        text = "".join(p if p.startswith("<!--") else ATTRIBUTE.sub(stand_in, p) for p in parts)
        with open(path, "w", encoding="utf-8") as file:
            file.write(text)

    subprocess.run(["wixl", *options, "-o", package, source], check=True)
    with open("_ForceCodepage.idt", "wb") as idt:
        idt.write(b"\r\n\r\n936\t_ForceCodepage\r\n")
    subprocess.run(["msibuild", package, "-i", "_ForceCodepage.idt"], check=True)

    for table in run("msiinfo", "tables", package).split():
        if table.startswith("_"):
            continue
        lines = run("msiinfo", "export", package, table).replace("\r\n", "\n").split("\n")
        columns, keys = lines[0].split("\t"), lines[2].split("\t")[1:]
        for line in lines[3:]:
            if "zvtext" not in line:
                continue
            row = dict(zip(columns, line.split("\t")))
            where = " AND ".join(f"`{key}` = '{row[key]}'" for key in keys)
            for column, cell in row.items():
                if "zvtext" not in cell:
                    continue
                if column in keys:
                    sys.exit(f"wixl-cp936: a Chinese text in the key {table}.{column}")
                real = re.sub(r"zvtext\d{4}", lambda m: texts[m.group(0)], cell)
                if "'" in real:
                    sys.exit(f"wixl-cp936: a quote in {table}.{column}: {real}")
                query(package, f"UPDATE `{table}` SET `{column}` = '{real}' WHERE {where}")
    if product_name is not None:
        query(package, f"UPDATE `Property` SET `Value` = '{product_name}' "
                       "WHERE `Property` = 'ProductName'")
        template = run("msiinfo", "suminfo", package)
        platform = re.search(r"^Template: ([^;\n]*)", template, flags=re.M).group(1)
        author = re.search(r"^Author: (.*)$", template, flags=re.M).group(1)
        subprocess.run(["msibuild", package, "-s", product_name, author, f"{platform};2052"],
                       check=True)


if __name__ == "__main__":
    main()
