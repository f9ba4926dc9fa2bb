#!/usr/bin/env python3
"""Shares the common information entries of a 32-bit PE image's DWARF unwind tables (.eh_frame).

The compiler gives every inline function and template instance a section of unwind data of its
own, each with its own copy of the common information entry (CIE) its frame description entry
(FDE) points to, and the PE linker keeps every copy: about 600 CIEs that say one of two things
(with or without the C++ personality routine; each object names that routine by a word of its
own, which the loader moves with the image, so words holding the same address count as one). This
writes each distinct CIE once, at the start of the table the runtime registers, and every FDE
after them, pointing to its CIE; pointers encoded relative to their own place (pcrel) are encoded
anew for the new place. The unwinder reads the same rules for every function.

    compact_unwind_tables.py <image>
    compact_unwind_tables.py --check <image>

The registered table starts where the image's one absolute reference into .eh_frame points (the
start-up code hands that address to the unwinder); entries before it stay as they are. The
section's bytes in the file shrink, the sections after it move down in the file, their addresses
in memory stay (the section's memory size too: what the file no longer holds reads as zero).
Refuses (exit status 1, the image untouched) whatever it does not know: another augmentation or
pointer encoding, a CIE after the FDE that names it, no or several references into the section,
a base relocation inside it, a symbol table, certificate or debug data. The result is decoded
again and compared, entry by entry, with the original before the file is written. An image
without .eh_frame, or already compacted, is left as it is. With --check it changes nothing and
fails unless the image is compacted so, its checksum right."""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page_align_code import align, checksum, post_link_step  # noqa: E402

PCREL = 0x10
INDIRECT = 0x80
SDATA4 = 0x0B
UDATA4 = 0x03
OMIT = 0xFF


class Refused(ValueError):
    pass


def uleb(data, at):
    value = shift = 0
    while True:
        if at >= len(data):
            raise Refused('truncated number')
        byte = data[at]
        at += 1
        value |= (byte & 0x7F) << shift
        shift += 7
        if not byte & 0x80:
            return value, at


def check_encoding(encoding):
    if encoding & ~INDIRECT not in (PCREL | SDATA4, PCREL | UDATA4):
        raise Refused('pointer encoding 0x%02x' % encoding)


def decode_pointer(data, at, address, encoding):
    """The target of the 4-byte pcrel pointer at data[at] (image address `address`); None for 0,
    which the unwinder reads as no pointer."""
    value = struct.unpack_from('<i' if encoding & 0x0F == SDATA4 else '<I', data, at)[0]
    return None if value == 0 else (address + value) & 0xFFFFFFFF


def encode_pointer(out, at, address, encoding, target):
    value = 0 if target is None else (target - address) & 0xFFFFFFFF
    struct.pack_into('<I', out, at, value)


class Cie:
    def __init__(self, data, at, length, address, indirect):
        body = data[at + 4:at + 4 + length]
        if body[4] != 1:
            raise Refused('CIE version %d' % body[4])
        end = body.index(b'\0', 5)
        augmentation = bytes(body[5:end])
        if augmentation[:1] != b'z' or not set(augmentation[1:]) <= set(b'PLR'):
            raise Refused('augmentation %r' % augmentation)
        pos = end + 1
        _, pos = uleb(body, pos)  # code alignment
        _, pos = uleb(body, pos)  # data alignment (signed; only copied)
        pos += 1  # return address column (version 1: one byte)
        data_length, pos = uleb(body, pos)
        data_end = pos + data_length
        self.lsda = OMIT
        self.fde = None
        self.personality = None  # (encoding, offset in the record, target)
        for letter in augmentation[1:]:
            encoding = body[pos]
            if letter == ord('P'):
                check_encoding(encoding)
                target = decode_pointer(body, pos + 1, address + 4 + pos + 1, encoding)
                self.personality = (encoding, 4 + pos + 1, target)
                # Each object has its own word holding the personality routine's address.
                routine = indirect(target) if encoding & INDIRECT and target else target
                pos += 5
            else:
                pos += 1
                if letter == ord('R') or encoding != OMIT:
                    check_encoding(encoding)
                if letter == ord('L'):
                    self.lsda = encoding
                else:
                    self.fde = encoding
        if pos != data_end or self.fde is None:
            raise Refused('CIE augmentation data')
        self.record = bytearray(data[at:at + 4 + length])
        # What makes two CIEs the same: every byte, the personality by the routine it names.
        key = bytearray(self.record)
        if self.personality:
            struct.pack_into('<I', key, self.personality[1], 0)
        self.key = (bytes(key), routine if self.personality else None)

    def written(self, address):
        record = bytearray(self.record)
        if self.personality:
            encoding, offset, target = self.personality
            encode_pointer(record, offset, address + offset, encoding, target)
        return record


class Fde:
    def __init__(self, data, at, length, address, cie):
        self.cie = cie
        self.record = bytearray(data[at:at + 4 + length])
        self.start = decode_pointer(data, at + 8, address + 8, cie.fde)
        data_length, pos = uleb(self.record, 16)
        if data_length != (4 if cie.lsda != OMIT else 0) or pos + data_length > len(self.record):
            raise Refused('FDE augmentation data')
        self.lsda_at = pos if cie.lsda != OMIT else None
        self.lsda = (decode_pointer(self.record, pos, address + pos, cie.lsda)
                     if self.lsda_at else None)

    def meaning(self):
        """What the unwinder reads: the CIE, the code, the language data and the rules."""
        rules = bytearray(self.record)
        rules[4:12] = bytes(8)
        if self.lsda_at:
            rules[self.lsda_at:self.lsda_at + 4] = bytes(4)
        return (self.cie.key, self.start, self.lsda, bytes(rules))

    def written(self, address, cie_address):
        record = bytearray(self.record)
        struct.pack_into('<I', record, 4, address + 4 - cie_address)
        encode_pointer(record, 8, address + 8, self.cie.fde, self.start)
        if self.lsda_at:
            encode_pointer(record, self.lsda_at, address + self.lsda_at, self.cie.lsda, self.lsda)
        return record


def parse(data, base, indirect):
    """The entries of data (at image address base) up to the zero terminator; indirect(address)
    reads a pointer word of the image."""
    cies = {}
    entries = []
    at = 0
    while True:
        if at + 4 > len(data):
            raise Refused('no terminator')
        length = struct.unpack_from('<I', data, at)[0]
        if length == 0:
            return entries, at + 4
        if length == 0xFFFFFFFF or at + 4 + length > len(data) or length < 8:
            raise Refused('entry length at 0x%x' % at)
        pointer = struct.unpack_from('<I', data, at + 4)[0]
        if pointer == 0:
            cies[at] = Cie(data, at, length, base + at, indirect)
            entries.append(cies[at])
        else:
            cie = cies.get(at + 4 - pointer)
            if cie is None:
                raise Refused('FDE at 0x%x without a CIE before it' % at)
            entries.append(Fde(data, at, length, base + at, cie))
        at += 4 + length


def compact(data, base, indirect):
    """The table rewritten: each distinct CIE once, then every FDE in its order."""
    entries, _ = parse(data, base, indirect)
    unique = {}
    for entry in entries:
        if isinstance(entry, Cie):
            unique.setdefault(entry.key, entry)
    out = bytearray()
    placed = {}
    for key, cie in unique.items():
        placed[key] = base + len(out)
        out += cie.written(base + len(out))
    for entry in entries:
        if isinstance(entry, Fde):
            out += entry.written(base + len(out), placed[entry.cie.key])
    out += bytes(4)
    return bytes(out)


def meanings(data, base, indirect):
    entries, _ = parse(data, base, indirect)
    return [e.meaning() for e in entries if isinstance(e, Fde)]


class Image:
    def __init__(self, image):
        self.image = bytearray(image)
        pe = struct.unpack_from('<I', image, 0x3C)[0]
        if image[pe:pe + 4] != b'PE\0\0':
            raise Refused('not a PE image')
        self.sections, optional_size = struct.unpack_from('<H12xH', image, pe + 6)
        self.optional = pe + 24
        if struct.unpack_from('<H', image, self.optional)[0] != 0x10B:
            raise Refused('not a 32-bit image')
        self.base = struct.unpack_from('<I', image, self.optional + 28)[0]
        directories = self.optional + 96
        symbols = struct.unpack_from('<I', image, pe + 12)[0]
        if symbols or struct.unpack_from('<I', image, directories + 4 * 8 + 4)[0] or \
                struct.unpack_from('<I', image, directories + 6 * 8 + 4)[0]:
            raise Refused('the image holds file offsets besides its sections')
        self.relocations = struct.unpack_from('<II', image, directories + 5 * 8)
        self.table = self.optional + optional_size
        self.file_alignment = struct.unpack_from('<I', image, self.optional + 36)[0]

    def header(self, i):
        at = self.table + 40 * i
        name = bytes(self.image[at:at + 8]).rstrip(b'\0')
        vsize, rva, rsize, pointer = struct.unpack_from('<IIII', self.image, at + 8)
        return at, name, vsize, rva, rsize, pointer

    def find(self, prefix):
        for i in range(self.sections):
            if self.header(i)[1].startswith(prefix):
                return i
        return None

    def read_rva(self, rva, size):
        for i in range(self.sections):
            _, _, _, start, rsize, pointer = self.header(i)
            if start <= rva and rva + size <= start + rsize:
                return bytes(self.image[pointer + rva - start:pointer + rva - start + size])
        raise Refused('address 0x%x outside the file' % rva)

    def relocated_words(self):
        """The addresses of the words the base relocations adjust."""
        rva, size = self.relocations
        blocks = self.read_rva(rva, size) if size else b''
        words = set()
        at = 0
        while at + 8 <= len(blocks):
            page, length = struct.unpack_from('<II', blocks, at)
            if length < 8 or at + length > len(blocks):
                raise Refused('base relocation block at 0x%x' % at)
            for i in range(8, length, 2):
                entry = struct.unpack_from('<H', blocks, at + i)[0]
                if entry >> 12 == 3:
                    words.add(self.base + page + (entry & 0xFFF))
                elif entry >> 12:
                    raise Refused('base relocation of type %d' % (entry >> 12))
            at += length
        return words

    def word(self, address):
        return struct.unpack_from('<I', self.read_rva(address - self.base, 4))[0]


def rewrite(image):
    pe = Image(image)
    index = pe.find(b'.eh_fram')
    if index is None:
        return bytes(image)
    at, _, vsize, rva, rsize, pointer = pe.header(index)
    start = pe.base + rva
    words = pe.relocated_words()
    if any(start <= word < start + vsize for word in words):
        raise Refused('a base relocation inside .eh_frame')
    targets = {pe.word(word) for word in words} & set(range(start, start + vsize))

    def indirect(address):
        # An address word: the loader moves it with the image, so equal words stay equal.
        if address not in words:
            raise Refused('personality word 0x%x not relocated' % address)
        return pe.word(address)

    if len(targets) != 1:
        raise Refused('%d references into .eh_frame, not one' % len(targets))
    registered = targets.pop()
    offset = registered - start
    data = bytes(pe.image[pointer + offset:pointer + min(rsize, vsize)])
    table = compact(data, registered, indirect)
    _, used = parse(data, registered, indirect)
    if len(table) > used:
        raise Refused('the table would grow')
    if meanings(table, registered, indirect) != meanings(data, registered, indirect):
        raise Refused('the compacted table reads differently')
    new_rsize = align(offset + len(table), pe.file_alignment)
    if new_rsize == rsize and table == data[:len(table)]:
        return bytes(image)
    shrink = rsize - new_rsize
    out = pe.image
    section = bytearray(out[pointer:pointer + offset]) + table
    section += bytes(new_rsize - len(section))
    out[pointer:pointer + rsize] = section
    struct.pack_into('<I', out, at + 16, new_rsize)
    for i in range(pe.sections):
        other_at, _, _, _, other_rsize, other_pointer = pe.header(i)
        if other_rsize and other_pointer > pointer:
            struct.pack_into('<I', out, other_at + 20, other_pointer - shrink)
    initialized = struct.unpack_from('<I', out, pe.optional + 8)[0]
    struct.pack_into('<I', out, pe.optional + 8, max(initialized - shrink, 0))
    if struct.unpack_from('<I', out, pe.optional + 64)[0]:
        struct.pack_into('<I', out, pe.optional + 64, checksum(out, pe.optional + 64))
    return bytes(out)


if __name__ == '__main__':
    sys.exit(post_link_step(rewrite, (ValueError, struct.error, IndexError),
                            'unwind tables not compacted, or a wrong checksum'))
