#!/usr/bin/env python3
"""Checks that the code a processor runs before zentiq.exe has tested it for the P6 instructions
holds none of them: the PE entry point (the processor check) and the TLS callbacks that the
loader calls before it, followed through every direct branch and call, up to the C runtime's
entry, which runs only once the check has passed.

Usage: entry_path_check.py EXE MAP [--entry SYMBOL] [--continuation SYMBOL]
Exits 0 when the path is clean, 1 otherwise."""
import argparse
import re
import subprocess
import sys

OBJDUMP = 'i686-w64-mingw32-objdump'

# Instructions a Pentium MMX, K6-2, WinChip or C3 "Samuel" lacks.
P6_MNEMONIC = re.compile(r'^(cmov\w+|fcmov\w+|fcomip?|fucomip?|nop[lw]|sysenter|sysexit|rdpmc|'
                         r'fxsave|fxrstor|ldmxcsr|stmxcsr|prefetch\w*|[lsm]fence|movnti|clflush)$')
VECTOR_REGISTER = re.compile(r'%[xy]?mm\d')
INSTRUCTION = re.compile(r'^\s*([0-9a-f]+):\t([0-9a-f ]+)\t(.*)$')
ENDS_BLOCK = ('jmp', 'ret', 'ud2', 'iret', 'hlt')
PREFIXES = {'lock', 'rep', 'repz', 'repnz', 'repe', 'repne', 'data16', 'ds', 'cs', 'ss', 'es',
            'fs', 'gs'}


def objdump(*args):
    return subprocess.run([OBJDUMP, *args], capture_output=True, text=True, check=True).stdout


class Image:
    def __init__(self, exe):
        self.exe = exe
        headers = objdump('-p', exe)
        self.base = int(re.search(r'^ImageBase\s+([0-9a-f]+)', headers, re.M).group(1), 16)
        entry = int(re.search(r'^AddressOfEntryPoint\s+([0-9a-f]+)', headers, re.M).group(1), 16)
        self.entry = self.base + entry
        self.sections = []
        for m in re.finditer(r'^\s+\d+\s+(\.\S+)\s+([0-9a-f]+)\s+([0-9a-f]+)\s', objdump('-h', exe),
                             re.M):
            self.sections.append((m.group(1), int(m.group(3), 16), int(m.group(2), 16)))
        iat = re.search(r'^Entry c ([0-9a-f]+) ([0-9a-f]+)', headers, re.M)
        self.iat = (self.base + int(iat.group(1), 16), int(iat.group(2), 16))
        tls = re.search(r'^Entry 9 ([0-9a-f]+) ([0-9a-f]+)', headers, re.M)
        self.tls_callbacks = []
        if tls and int(tls.group(2), 16):
            directory = self.words(self.base + int(tls.group(1), 16), 6)
            at = directory[3]  # AddressOfCallBacks
            while at:
                callback = self.words(at, 1)[0]
                if not callback:
                    break
                self.tls_callbacks.append(callback)
                at += 4

    def section_of(self, address):
        for name, start, size in self.sections:
            if start <= address < start + size:
                return name
        return None

    def words(self, address, count):
        out = objdump('-s', '--start-address=%#x' % address,
                      '--stop-address=%#x' % (address + 4 * count), self.exe)
        data = b''
        for line in out.splitlines():
            m = re.match(r'^ ([0-9a-f]+) ((?:[0-9a-f]{2,8} ?)+)', line)
            if m:
                data += bytes.fromhex(m.group(2).replace(' ', ''))
        return [int.from_bytes(data[i:i + 4], 'little') for i in range(0, 4 * count, 4)]

    def in_iat(self, address):
        return self.iat[0] <= address < self.iat[0] + self.iat[1]

    def disassemble(self, address, length=128):
        """(address, size, mnemonic, operands) of the instructions from `address` on."""
        out = objdump('-d', '-w', '--start-address=%#x' % address,
                      '--stop-address=%#x' % (address + length), self.exe)
        result = []
        for line in out.splitlines():
            m = INSTRUCTION.match(line)
            if not m:
                continue
            size = len(m.group(2).split())
            text = re.sub(r'\s+', ' ', m.group(3).strip())
            mnemonic, _, operands = text.partition(' ')
            # Prefixes such as "lock" or "rep" stand before the mnemonic.
            while mnemonic in PREFIXES and operands:
                mnemonic, _, operands = operands.partition(' ')
            result.append((int(m.group(1), 16), size, mnemonic, operands))
        return result


class LinkMap:
    """The symbols and the input sections (with their objects) of a GNU ld map."""

    def __init__(self, path):
        self.symbols = {}
        self.places = []
        self.objects = []
        with open(path, errors='replace') as f:
            lines = f.read().splitlines()
        for i, line in enumerate(lines):
            m = re.match(r'^\s+0x([0-9a-f]+)\s+([A-Za-z_.$?@][\w.$?@]*)\s*$', line)
            if m:
                self.symbols.setdefault(m.group(2), int(m.group(1), 16))
                self.places.append((int(m.group(1), 16), m.group(2)))
                continue
            # " .text$name  0xADDR  0xSIZE  object" (long section names wrap after the name)
            m = re.match(r'^ \.text\S*\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$', line)
            if not m and re.match(r'^ \.text\S*$', line) and i + 1 < len(lines):
                m = re.match(r'^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$', lines[i + 1])
            if m and int(m.group(2), 16):
                obj = re.sub(r'^.*/', '', m.group(3))
                self.objects.append((int(m.group(1), 16), int(m.group(2), 16), obj))
        self.places.sort()

    def name_of(self, address):
        """The nearest symbol at or before `address` within its object (local functions have
        none in the map: then the object and the offset into its code)."""
        start, obj = next(((at, o) for at, size, o in self.objects if at <= address < at + size),
                          (None, '?'))
        best = None
        for at, name in self.places:
            if at > address:
                break
            if start is None or at >= start:
                best = (at, name)
        if best is None:
            return '%s+%#x' % (obj, address - start) if start is not None else obj
        return '%s+%#x in %s' % (best[1], address - best[0], obj)


def walk(image, starts, stop):
    """Follows every path from `starts` (but not into `stop`); returns the instructions checked,
    the P6 ones among them and the transfers that could not be followed."""
    pending = list(starts)
    checked = {}
    offenders = []
    unresolved = []
    while pending:
        address = pending.pop()
        while address is not None and address not in checked and address not in stop:
            if image.section_of(address) != '.text':
                unresolved.append((address, 'a branch out of the code section'))
                break
            instructions = image.disassemble(address)
            if not instructions:
                unresolved.append((address, 'nothing to disassemble'))
                break
            next_address = None
            for at, size, mnemonic, operands in instructions:
                if at in checked or at in stop:
                    break
                checked[at] = mnemonic
                if mnemonic.startswith('(bad)'):
                    unresolved.append((at, 'undecodable bytes'))
                    break
                if P6_MNEMONIC.match(mnemonic) or VECTOR_REGISTER.search(operands):
                    offenders.append((at, (mnemonic + ' ' + operands).strip()))
                if mnemonic.startswith(('j', 'call', 'loop')):
                    target = re.match(r'^(?:0x)?([0-9a-f]+)\b', operands)
                    memory = re.match(r'^\*0x([0-9a-f]+)$', operands)
                    if target:
                        pending.append(int(target.group(1), 16))
                    elif not (memory and image.in_iat(int(memory.group(1), 16))):
                        # Through a register or a variable: the target is not known here.
                        unresolved.append((at, mnemonic + ' ' + operands))
                if mnemonic.startswith(ENDS_BLOCK):
                    break
                next_address = at + size
            else:
                address = next_address  # the window ended inside the block
                continue
            address = None
    return checked, offenders, unresolved


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('exe')
    parser.add_argument('map')
    parser.add_argument('--entry', default='ZentiqEntry')
    parser.add_argument('--continuation', default='WinMainCRTStartup')
    args = parser.parse_args()

    image = Image(args.exe)
    link = LinkMap(args.map)
    failures = []
    guard = link.symbols.get(args.entry)
    continuation = link.symbols.get(args.continuation)
    if guard is None or continuation is None:
        print('entry path: %s or %s missing from the map' % (args.entry, args.continuation))
        return 1
    if image.entry != guard:
        failures.append('the entry point %#x is not %s (%#x)' % (image.entry, args.entry, guard))

    starts = [image.entry] + image.tls_callbacks
    checked, offenders, unresolved = walk(image, starts, {continuation})
    print('entry path: entry %s at %#x, TLS callbacks %s; %d instructions checked up to %s at %#x'
          % (link.name_of(image.entry), image.entry,
             ', '.join(link.name_of(c) for c in image.tls_callbacks) or 'none', len(checked),
             args.continuation, continuation))
    for at, text in offenders:
        failures.append('P6 instruction at %#x (%s): %s' % (at, link.name_of(at), text))
    guard_end = next((at for at, _ in link.places if at > guard), guard)
    for at, text in unresolved:
        where = '%#x (%s): %s' % (at, link.name_of(at), text)
        if guard <= at < guard_end:
            failures.append('the processor check leaves through ' + where)
        else:
            print('  not followed: ' + where)
    for f in failures:
        print('  FAIL: ' + f)
    if not failures:
        print('  no P6 instruction on the path')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
