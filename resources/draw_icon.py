#!/usr/bin/env python3
"""Draws the program's icon, a slanted close-up of keyboard keys in the standard 16-colour
palette, and writes it as kt5_dtmf.xpm (the window's icon, 32x32), kt5_dtmf.ico (the
executables', one 4-bit 32x32 image) and icons/32.png, 64.png and 128.png (the desktop's),
the larger ones drawn from the same design with finer outlines. Run it from anywhere; it
writes beside itself."""
import os
import struct
import zlib

SIZE = 32
# The standard 16-colour palette, in its usual order.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, SILVER, GREY, WHITE = 0, 7, 8, 15
TRANSPARENT = None


def draw(scale=1):
    size = SIZE * scale
    image = [[TRANSPARENT] * size for _ in range(size)]

    def put(x, y, colour):
        for py in range(y * scale, (y + 1) * scale):
            for px in range(x * scale, (x + 1) * scale):
                if 0 <= px < size and 0 <= py < size:
                    image[py][px] = colour

    def put_fine(x, y, colour):  # in pixels of the scaled image
        if 0 <= x < size and 0 <= y < size:
            image[y][x] = colour

    line = max(1, scale // 2)  # outlines stay thin as the icon grows

    # Three rows of keys seen from above and to the left: each row is shifted right as it
    # comes nearer, and each key shows its white top, a grey front and a black outline.
    key_w, top_h, front_h, gap = 9, 5, 3, 1
    for row in range(4):
        y0 = 1 + row * (top_h + front_h + gap)
        shift = row * 3 - 2
        for col in range(4):
            x0 = shift + col * (key_w + gap)
            height, width = (top_h + front_h) * scale, key_w * scale
            for dy in range(height):
                slant = dy // 2  # the near edge leans right: a slanted close-up
                for dx in range(width):
                    x, y = x0 * scale + dx + slant, y0 * scale + dy
                    outline = min(dx, width - 1 - dx, dy, height - 1 - dy) < line
                    if outline:
                        colour = BLACK
                    elif dy < top_h * scale:
                        shine = dx < (key_w - 3) * scale or dy > scale
                        colour = WHITE if shine else SILVER
                    else:
                        colour = GREY
                    put_fine(x, y, colour)
            # A key legend: a small dark mark on each top face.
            put(x0 + 3 + 1, y0 + 2, GREY)
            put(x0 + 4 + 1, y0 + 2, BLACK)
            put(x0 + 5 + 1, y0 + 2, GREY)
    return image


def write_xpm(image, path):
    chars = {TRANSPARENT: ' ', BLACK: '#', SILVER: '+', GREY: '.', WHITE: 'o'}
    used = [c for c in chars if any(c in row for row in image)]
    lines = ['/* XPM */', 'static const char* const kt5_dtmf_xpm[] = {',
             f'"{SIZE} {SIZE} {len(used)} 1",']
    for c in used:
        value = 'None' if c is None else '#%02X%02X%02X' % PALETTE[c]
        lines.append(f'"{chars[c]} c {value}",')
    for row in image:
        lines.append('"' + ''.join(chars[c] for c in row) + '",')
    lines[-1] = lines[-1].rstrip(',')
    lines.append('};')
    with open(path, 'w') as f:
        f.write('\n'.join(lines) + '\n')


def write_png(image, path):
    size = len(image)
    raw = b''
    for row in image:
        raw += b'\x00' + b''.join(
            bytes((0, 0, 0, 0)) if c is None else bytes(PALETTE[c] + (255,)) for c in row)

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    png = (b'\x89PNG\r\n\x1a\n' +
           chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
           chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))
    with open(path, 'wb') as f:
        f.write(png)


def write_ico(image, path):
    # One 32x32 image: a 4-bit BITMAPINFO with its palette, the XOR bits bottom-up, then the
    # 1-bit AND mask that makes transparent pixels show the desktop.
    xor = b''
    mask = b''
    for row in reversed(image):
        nibbles = [0 if c is None else c for c in row]
        xor += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2))
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c is None else 0)
        mask += struct.pack('>I', bits)  # 32 pixels: exactly one 4-byte-aligned row
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask),
                         0, 0, 16, 0)
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    body = header + palette + xor + mask
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack(
        '<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(body), 6 + 16)
    with open(path, 'wb') as f:
        f.write(directory + body)


if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    icon = draw()
    write_xpm(icon, os.path.join(here, 'kt5_dtmf.xpm'))
    write_ico(icon, os.path.join(here, 'kt5_dtmf.ico'))
    for scale in (1, 2, 4):
        write_png(draw(scale), os.path.join(here, 'icons', f'{SIZE * scale}.png'))
