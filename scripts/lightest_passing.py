#!/usr/bin/env python3
"""The lightest passing sheet pile per row of a kuvelt-calc CSV (a sweep or a batch).

Run the sweep with --pick auto, so each row holds the program's proposal: the first section that
satisfies every check, kinds in the order concrete, light steel, steel and sections in catalogue
order (catalogues registered from light to heavy make it the lightest), with its length rounded
up to 0.5 m. Rows where no section passes say so.

    kuvelt-calc --sweep gInpJyoken.ELDL=0:-1:-0.1 --pick auto examples/sand-channel.kvt \
        | python3 scripts/lightest_passing.py

Reads the CSV from the file named as the argument or from standard input; standard library only.
"""
import csv
import sys


def main():
    source = open(sys.argv[1], newline="", encoding="utf-8") if len(sys.argv) > 1 else sys.stdin
    rows = list(csv.reader(source))
    if not rows:
        return 1
    header, body = rows[0], rows[1:]
    col = {name: i for i, name in enumerate(header)}
    # The swept values (or the file) stand before the status column.
    keys = header[: col["status"]]
    print("\t".join(keys + ["lightest passing section", "L (m)"]))
    for row in body:
        key = row[: col["status"]]
        if row[col["verdict"]] == "OK" and row[col["proposed"]] == "true":
            pile = "%s No.%s %s" % (row[col["pile kind"]], row[col["pile no"]], row[col["pile name"]])
            print("\t".join(key + [pile, row[col["L (m)"]]]))
        elif row[col["verdict"]] == "OK":
            print("\t".join(key + ["(stored choice passes; run with --pick auto)", row[col["L (m)"]]]))
        else:
            print("\t".join(key + ["none passes every check", ""]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
