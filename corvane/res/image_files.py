"""Writers of the image files that the picture scripts make: 24-bit .bmp
bitmaps and square icons with an alpha channel, each drawn by a function
pixel(x, y) with y from the top."""
import struct


def write_bmp(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b)."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def write_icon(path, size, pixel):
    """pixel(x, y) -> (r, g, b, a) for a size x size icon; the mask shows
    the pixels whose alpha is 0."""
    mask_stride = (size + 31) // 32 * 4  # mask rows are padded to 32 bits
    xor = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = 0
        for x in range(size):
            r, g, b, a = pixel(x, y)
            xor += bytes((b, g, r, a))
            bits = (bits << 1) | (0 if a else 1)
        bits <<= -size % 8
        row = bits.to_bytes((size + 7) // 8, "big")
        mask += row + bytes(mask_stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + bytes(xor) + bytes(mask)
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(header + entry + image)
