#!/usr/bin/env python3
"""Puts square PNG images into one Windows icon file, each kept as PNG (Windows Vista on).

    make-ico.py <output.ico> <image.png>...
"""
import struct
import sys

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def png_size(data, name):
    """Width and height from the PNG's header chunk."""
    if data[:8] != PNG_SIGNATURE or data[12:16] != b"IHDR":
        raise ValueError(f"{name} is not a PNG file")
    return struct.unpack(">II", data[16:24])


def main():
    if len(sys.argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    images = []
    for name in sys.argv[2:]:
        with open(name, "rb") as file:
            data = file.read()
        width, height = png_size(data, name)
        if width != height or not 0 < width <= 256:
            raise ValueError(f"{name} is {width} x {height}; an icon image is square, 256 at most")
        images.append((width, data))
    images.sort(key=lambda image: image[0])

    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = b""
    for size, data in images:
        # 256 is written as 0; 32 bits a pixel, one plane.
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data),
                               offset)
        offset += len(data)
    with open(sys.argv[1], "wb") as file:
        file.write(header + entries + b"".join(data for _, data in images))
    return 0


if __name__ == "__main__":
    sys.exit(main())
