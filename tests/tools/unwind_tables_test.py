#!/usr/bin/env python3
"""cmake/compact_unwind_tables.py on small 32-bit images built here: what the unwinder reads
stays the same, the file shrinks, what the tool does not know is refused.
Ends with "unwind-tables: N passed, N failed"."""
import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'cmake'))
import compact_unwind_tables as tool  # noqa: E402

BASE = 0x400000
TEXT, DATA, EH, RELOC = 0x1000, 0x2000, 0x3000, 0x4000
ROUTINES = {DATA: 0x401100, DATA + 4: 0x401100, DATA + 8: 0x401200}  # personality words
RULES = bytes([0x41, 0x0E, 0x08, 0x85, 0x02])


def cie(at, personality_word=None, augmentation=b'zR', encoding=0x1B):
    body = b'\0\0\0\0\x01' + augmentation + b'\0\x01\x7c\x08'
    if personality_word is None:
        body += bytes([1, encoding])
    else:
        field = at + 4 + len(body) + 2
        body += bytes([7, 0x9B]) + struct.pack('<i', personality_word - (EH + field))
        body += bytes([encoding, encoding])
    body += bytes([0x0C, 0x04, 0x04, 0x88, 0x01])
    body += bytes(-len(body) % 4)
    return struct.pack('<I', len(body)) + body


def fde(at, cie_at, start, lsda=None, with_lsda=False):
    record = struct.pack('<Ii', 0, at + 4 - cie_at)
    record += struct.pack('<iI', start - (BASE + EH + at + 8), 0x20)
    if with_lsda:
        record += b'\x04' + struct.pack('<i', 0 if lsda is None else lsda - (BASE + EH + at + 17))
    else:
        record += b'\0'
    record += RULES
    record += bytes(-len(record) % 4)
    return struct.pack('<I', len(record) - 4) + record[4:]


def table(prefix, pairs, encoding=0x1B):
    """prefix bytes (not registered), then one CIE and one FDE per (personality word, start)."""
    data = bytearray(prefix)
    for word, start in pairs:
        cie_at = len(data)
        data += cie(cie_at, word, b'zR' if word is None else b'zPLR', encoding)
        lsda = None if word is None or start % 0x80 else BASE + DATA + 0x100 + start % 0x100
        data += fde(len(data), cie_at, start, lsda, word is not None)
    return bytes(data + bytes(4))


def image(eh, references=(EH,)):
    """A PE image: code holding absolute references into .eh_frame, the personality words."""
    text = b''.join(struct.pack('<I', BASE + r) for r in references).ljust(0x200, b'\xC3')
    data = b''.join(struct.pack('<I', ROUTINES[w]) for w in sorted(ROUTINES)).ljust(0x200, b'\0')
    words = [TEXT + 4 * i for i in range(len(references))] + sorted(ROUTINES)
    reloc = b''
    for page in sorted({w & ~0xFFF for w in words}):
        entries = [0x3000 | (w & 0xFFF) for w in words if w & ~0xFFF == page]
        entries += [0] * (len(entries) % 2)
        reloc += struct.pack('<II', page, 8 + 2 * len(entries))
        reloc += struct.pack('<%dH' % len(entries), *entries)
    sections = [(b'.text', TEXT, text, 0x60000020), (b'.data', DATA, data, 0xC0000040),
                (b'.eh_fram', EH, eh, 0x40000040), (b'.reloc', RELOC, reloc, 0x42000040)]
    headers = bytearray(0x400)
    struct.pack_into('<2s58xI', headers, 0, b'MZ', 0x40)
    struct.pack_into('<4sHHIIIHH', headers, 0x40, b'PE\0\0', 0x14C, len(sections), 0, 0, 0,
                     224, 0x102)
    optional = 0x58
    struct.pack_into('<HBBIII', headers, optional, 0x10B, 2, 0, 0, 0, 0)
    struct.pack_into('<IIIIII', headers, optional + 28, BASE, 0x1000, 0x200, 4, 0, 0)
    struct.pack_into('<I', headers, optional + 56, 0x5000)
    struct.pack_into('<I', headers, optional + 60, 0x400)
    struct.pack_into('<I', headers, optional + 92, 16)
    struct.pack_into('<II', headers, optional + 96 + 5 * 8, RELOC, len(reloc))
    body = bytearray()
    for i, (name, rva, raw, flags) in enumerate(sections):
        padded = raw + bytes(-len(raw) % 0x200)
        struct.pack_into('<8sIIIIIIHHI', headers, optional + 224 + 40 * i, name, len(raw), rva,
                         len(padded), 0x400 + len(body), 0, 0, 0, 0, flags)
        body += padded
    return bytes(headers + body)


def readings(img):
    """Per FDE from the registered table: its start, its LSDA, its rules, the CIE's bytes with
    the personality routine it names."""
    pe = tool.Image(img)
    _, _, vsize, rva, rsize, pointer = pe.header(pe.find(b'.eh_fram'))
    section = img[pointer:pointer + rsize] + bytes(max(0, vsize - rsize))
    at, found = pe.word(BASE + TEXT) - BASE - EH, []
    while struct.unpack_from('<I', section, at)[0]:
        length, back = struct.unpack_from('<II', section, at)
        if back:
            c = at + 4 - back
            head = section[c:c + 4 + struct.unpack_from('<I', section, c)[0]]
            routine = None
            if b'zPLR' in head:
                word = BASE + EH + c + 19 + struct.unpack_from('<i', head, 19)[0]
                routine = pe.word(word)
                head = head[:19] + head[23:]
            start = BASE + EH + at + 8 + struct.unpack_from('<i', section, at + 8)[0]
            rules = bytearray(section[at + 12:at + 4 + length])
            lsda = None
            if routine is not None:
                value = struct.unpack_from('<i', section, at + 17)[0]
                lsda = value and BASE + EH + at + 17 + value
                rules[5:9] = bytes(4)
            found.append((start, lsda, bytes(rules), head, routine))
        at += 4 + length
    return found


PREFIX = cie(0) + fde(0x18, 0, BASE + TEXT + 0x1F0)
PAIRS = [(None, BASE + TEXT + 0x10 * i) for i in range(40)]
PAIRS += [(DATA, BASE + TEXT + 0x400), (DATA + 4, BASE + TEXT + 0x440),
          (DATA + 8, BASE + TEXT + 0x480)]


class CompactUnwindTables(unittest.TestCase):
    def test_the_unwinder_reads_the_same_from_a_smaller_file(self):
        original = image(table(PREFIX, PAIRS), references=(EH + len(PREFIX),) * 2)
        compacted = tool.rewrite(original)
        self.assertEqual(readings(compacted), readings(original))
        self.assertEqual(len(readings(original)), len(PAIRS))
        shrink = len(original) - len(compacted)
        self.assertTrue(shrink > 0 and shrink % 0x200 == 0)
        pe = tool.Image(compacted)
        _, _, _, _, rsize, pointer = pe.header(pe.find(b'.eh_fram'))
        self.assertEqual(compacted[pointer:pointer + len(PREFIX)], PREFIX)
        # Two CIEs for the two routines and the one without: 40 shared, two words merged.
        self.assertEqual(compacted[pointer:pointer + rsize].count(b'\0\0\0\0\x01z'), 1 + 3)
        _, _, _, _, reloc_size, reloc_pointer = pe.header(pe.find(b'.reloc'))
        self.assertEqual(compacted[reloc_pointer:reloc_pointer + reloc_size],
                         original[reloc_pointer + shrink:reloc_pointer + shrink + reloc_size])
        self.assertEqual(tool.rewrite(compacted), compacted)

    def test_what_the_tool_does_not_know_is_refused(self):
        cases = {
            'augmentation': image(table(b'', [(None, BASE + TEXT)]).replace(b'zR', b'zS')),
            'absolute pointers': image(table(b'', PAIRS[:2], encoding=0x00)),
            'two references': image(table(PREFIX, PAIRS), references=(EH, EH + len(PREFIX))),
            'no reference': image(table(b'', PAIRS), references=()),
            'no terminator': image(table(b'', PAIRS)[:-4].ljust(0x1000, b'\x30')),
        }
        for name, img in cases.items():
            with self.subTest(name):
                self.assertRaises(tool.Refused, tool.rewrite, img)


if __name__ == '__main__':
    result = unittest.main(exit=False, verbosity=1).result
    failed = len(result.failures) + len(result.errors)
    print('unwind-tables: %d passed, %d failed' % (result.testsRun - failed, failed))
    sys.exit(1 if failed else 0)
