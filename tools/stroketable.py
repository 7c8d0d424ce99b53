"""The stroke-type table data/stroketypes.tsv, read the one way every generator needs it.

Plain Python (no fontTools, no numpy), so that any generator can read it.
"""


def read_rows(path):
    """The table's rows -> [(code, name, letters, pinyin)] in file order; codes are checked
    to run 0, 1, 2, ... A letters field of "-" stands for none."""
    rows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) != 4:
                raise ValueError("%s: bad line %r" % (path, line))
            letters = [] if fields[2] == "-" else fields[2].split()
            rows.append((int(fields[0]), fields[1], letters, fields[3]))
    if not rows or [r[0] for r in rows] != list(range(len(rows))):
        raise ValueError("%s: codes must run 0, 1, 2, ... in order" % path)
    return rows


def data_rows(path, columns):
    """The rows of one of data/'s TAB-separated tables -> [(line number, fields)], comments
    and blank lines left out. A row must have `columns` fields, the last (its reason) not
    empty."""
    rows = []
    with open(path, encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            if not line.strip() or line.startswith("#"):
                continue
            fields = line.rstrip("\n").split("\t")
            if len(fields) != columns or not fields[-1].strip():
                raise ValueError("%s:%d: want %d fields, the last a reason" % (path, n, columns))
            rows.append((n, fields))
    return rows


def unihan_values(path, wanted):
    """(code point, field, value) of every line of a Unihan file (plain or .bz2) whose field is
    one of `wanted`."""
    import bz2
    opener = bz2.open if path.endswith(".bz2") else open
    with opener(path, "rt", encoding="utf-8") as f:
        for line in f:
            if not line.startswith("U+"):
                continue
            cp, field, value = line.rstrip("\n").split("\t", 2)
            if field in wanted:
                yield int(cp[2:], 16), field, value
