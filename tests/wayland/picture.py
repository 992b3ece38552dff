"""Looks at grim's PPM pictures for the Wayland journeys.

  picture.py other FILE R G B    how many pixels differ from colour R G B
  picture.py changed A B         "x y w h" of the pixels that differ between
                                 two pictures of the same size, or nothing
"""
import re
import sys


def read(path):
    with open(path, "rb") as f:
        data = f.read()
    # P6: magic, width, height, maximum, one white space, then the bytes.
    m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+\d+\s", data)
    if not m:
        sys.exit(f"picture.py: {path} is no PPM picture")
    w, h = int(m.group(1)), int(m.group(2))
    raw = data[m.end():]
    if len(raw) < 3 * w * h:
        sys.exit(f"picture.py: {path} is cut short")
    return w, h, raw


def other(path, rgb):
    w, h, raw = read(path)
    want = bytes(rgb)
    print(sum(raw[i:i + 3] != want for i in range(0, 3 * w * h, 3)))


def changed(a, b):
    wa, ha, ra = read(a)
    wb, hb, rb = read(b)
    if (wa, ha) != (wb, hb):
        sys.exit("picture.py: the pictures differ in size")
    xs, ys = [], []
    for y in range(ha):
        row = 3 * wa * y
        if ra[row:row + 3 * wa] == rb[row:row + 3 * wa]:
            continue
        for x in range(wa):
            i = row + 3 * x
            if ra[i:i + 3] != rb[i:i + 3]:
                xs.append(x)
                ys.append(y)
    if xs:
        print(min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1)


if __name__ == "__main__":
    if len(sys.argv) == 6 and sys.argv[1] == "other":
        other(sys.argv[2], [int(v) for v in sys.argv[3:6]])
    elif len(sys.argv) == 4 and sys.argv[1] == "changed":
        changed(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
