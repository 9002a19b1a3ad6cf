"""Is the window in the screenshot wearing the skin? Its left border, half
way down, must show the skin's own left border picture (the active or the
inactive frame, column for column).

    skinned.py SCREENSHOT.ppm LEFT_BORDER.ppm
"""
import sys


def read_ppm(path):
    data = open(path, "rb").read()
    fields, at = [], 0
    while len(fields) < 4:  # P6 width height maxval, blanks between
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    width, height = int(fields[1]), int(fields[2])
    pixels = data[at + 1:]
    return width, height, lambda x, y: tuple(pixels[3 * (y * width + x):3 * (y * width + x) + 3])


shot_w, shot_h, shot = read_ppm(sys.argv[1])
bmp_w, bmp_h, border = read_ppm(sys.argv[2])
width = bmp_w // 2  # two frames side by side: active, inactive
row = bmp_h - width - 5  # in the stretched middle, above the bottom corner
seen = [shot(x, shot_h // 2) for x in range(width)]
for frame in (0, 1):
    if seen == [border(frame * width + x, row) for x in range(width)]:
        print("skinned: the left border shows the skin's %s frame" % ("active", "inactive")[frame])
        sys.exit(0)
print("not skinned: left border", seen, "skin", [border(x, row) for x in range(bmp_w)])
sys.exit(1)
