#!/usr/bin/env python3
"""Moves the raw data of a PE image's code sections to page boundaries in the file.

Wine maps an image section straight from the file (clean, shared pages) only where the section's
data starts on a page boundary; any other section is read into private memory, so with the
linker's 512-byte file alignment the whole code counts as the process's private memory. Page
alignment for every section would cost about 20 KB of the file; the code section alone costs at
most 3 KB and is most of the image. Windows maps images by section either way.

    page_align_code.py <image>
    page_align_code.py --check <image>

Rewrites the file in place; a file already laid out so is left as it is. Refuses (exit status 1)
an image that carries a symbol table, a certificate or debug data (file offsets that would have
to move too) or bytes after its last section. With --check it changes nothing and fails unless
the image is laid out so, its checksum right."""
import struct
import sys

PAGE = 0x1000
CODE = 0x00000020
WRITABLE = 0x80000000


def align(value, alignment):
    return (value + alignment - 1) // alignment * alignment


def checksum(image, at):
    """The optional header's image checksum, the field at `at` counted as zero."""
    total = 0
    for i, word in enumerate(struct.unpack_from('<%dH' % (len(image) // 2), image)):
        if i * 2 not in (at, at + 2):
            total += word
            total = (total & 0xFFFF) + (total >> 16)
    if len(image) % 2:
        total += image[-1]
        total = (total & 0xFFFF) + (total >> 16)
    return ((total & 0xFFFF) + (total >> 16)) + len(image)


def relayout(image):
    pe = struct.unpack_from('<I', image, 0x3C)[0]
    if image[pe:pe + 4] != b'PE\0\0':
        raise ValueError('not a PE image')
    sections, optional_size = struct.unpack_from('<H12xH', image, pe + 6)
    symbols = struct.unpack_from('<I', image, pe + 12)[0]
    optional = pe + 24
    magic = struct.unpack_from('<H', image, optional)[0]
    file_alignment = struct.unpack_from('<I', image, optional + 36)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    security = struct.unpack_from('<II', image, directories + 4 * 8)
    debug = struct.unpack_from('<II', image, directories + 6 * 8)
    if symbols or security[1] or debug[1]:
        raise ValueError('the image holds file offsets besides its sections')
    table = optional + optional_size
    headers = []
    for i in range(sections):
        at = table + 40 * i
        size, pointer = struct.unpack_from('<II', image, at + 16)
        flags = struct.unpack_from('<I', image, at + 36)[0]
        headers.append((at, size, pointer, flags))
    laid = sorted((h for h in headers if h[1]), key=lambda h: h[2])
    end = max(pointer + size for _, size, pointer, _ in laid)
    if end != len(image):
        raise ValueError('bytes after the last section')
    out = bytearray(image[:laid[0][2]])
    place = len(out)
    for at, size, pointer, flags in laid:
        step = PAGE if flags & CODE and not flags & WRITABLE else file_alignment
        place = align(place, step)
        out += bytes(place - len(out))
        out += image[pointer:pointer + size]
        struct.pack_into('<I', out, at + 20, place)
        place += size
    if struct.unpack_from('<I', image, optional + 64)[0]:
        struct.pack_into('<I', out, optional + 64, checksum(out, optional + 64))
    return bytes(out)


def post_link_step(rewrite, errors, not_done):
    """The command line of a post-link step: `<step> <image>` rewrites the image in place (an
    image the step leaves as it is, untouched); `<step> --check <image>` changes nothing and fails
    with `not_done` unless the step would leave the image as it is. An error `rewrite` raises (of
    the `errors` types) leaves the image untouched and fails with its message."""
    check = sys.argv[1] == '--check'
    path = sys.argv[-1]
    with open(path, 'rb') as f:
        image = f.read()
    try:
        result = rewrite(image)
    except errors as e:
        print('%s: %s' % (path, e), file=sys.stderr)
        return 1
    if check:
        if result != image:
            print('%s: %s' % (path, not_done), file=sys.stderr)
            return 1
        return 0
    if result != image:
        with open(path, 'wb') as f:
            f.write(result)
    return 0


if __name__ == '__main__':
    sys.exit(post_link_step(relayout, (ValueError, struct.error),
                            'code not on a page boundary in the file, or a wrong checksum'))
