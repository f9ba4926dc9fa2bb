#!/usr/bin/env python3
"""The two packages as a user gets them: each unpacked into a fresh folder, zentiq.exe starts
under Wine, exits through its menu and leaves zentiq.ini beside itself. The win32 package holds
the 32-bit program, the win64 one the 64-bit program, with the same README.txt and LICENSE.
Prints 'package: N passed, N failed'.

--program names the build that runs here: where Wine cannot start the packed program (a 64-bit
one in a 32-bit Wine, a 32-bit one where Wine runs only 64-bit programs), it is started from
the unpacked folder in its place.

Usage: package_test.py --zip build/dist/zentiq-<version>-win32.zip
                       --zip build/dist/zentiq-<version>-win64.zip --build build/release
                       [--program build/release/src/app/zentiq.exe]"""
import argparse
import os
import shutil
import struct
import sys
import traceback
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from zq_e2e import Desktop, Failure, Meter, check  # noqa: E402

MACHINES = {'win32': 0x14C, 'win64': 0x8664}  # x86, x86-64


def pe_machine(path):
    with open(path, 'rb') as f:
        header = f.read(4096)
    at = struct.unpack_from('<I', header, 0x3C)[0]
    check(header[at:at + 4] == b'PE\0\0', '%s is not a Windows program' % path)
    return struct.unpack_from('<H', header, at + 4)[0]


def unpacked_program_runs_and_keeps_its_settings_beside_it(desk, zip_path, program, first_zip):
    kind = os.path.splitext(zip_path)[0].rsplit('-', 1)[-1]
    with zipfile.ZipFile(zip_path) as z, zipfile.ZipFile(first_zip) as first:
        names = sorted(z.namelist())
        check(names == ['LICENSE', 'README.txt', 'zentiq.exe'], 'package holds %s' % names)
        check(all(z.read(n) == first.read(n) for n in ('README.txt', 'LICENSE')),
              'README.txt or LICENSE differ from those of %s' % first_zip)
        m = Meter(desk, 'package-' + kind)
        shutil.rmtree(m.dir)
        os.makedirs(m.dir)
        z.extractall(m.dir)
    check(pe_machine(m.exe) == MACHINES.get(kind), 'the packed zentiq.exe is for machine %#x'
          % pe_machine(m.exe))
    if program and pe_machine(program) != pe_machine(m.exe):
        shutil.copyfile(program, m.exe)
    for name in ('README.txt', 'LICENSE'):
        with open(os.path.join(m.dir, name), 'rb') as f:
            text = f.read()
        check(b'\r\n' in text and b'\n' not in text.replace(b'\r\n', b''),
              '%s has not Windows line ends' % name)
    try:
        w = m.start()
        check(w['visible'], 'the strip is not visible')
        check(m.exit_by_menu(), 'E&xit did not end the program')
        check(os.path.isfile(m.ini), 'no zentiq.ini beside zentiq.exe')
        check('[Window]' in m.ini_text(), 'zentiq.ini:\n' + m.ini_text())
    finally:
        m.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--zip', action='append', required=True)
    parser.add_argument('--build', required=True)
    parser.add_argument('--program')
    args = parser.parse_args()
    desk = Desktop(args.build)
    zips = [os.path.abspath(z) for z in args.zip]
    test = unpacked_program_runs_and_keeps_its_settings_beside_it
    passed = failed = 0
    for zip_path in zips:
        name = '%s %s' % (test.__name__, os.path.basename(zip_path))
        try:
            test(desk, zip_path, args.program, zips[0])
            print('PASS ' + name, flush=True)
            passed += 1
        except Failure as e:
            print('FAIL %s: %s' % (name, e), flush=True)
            failed += 1
        except Exception:
            print('FAIL %s:\n%s' % (name, traceback.format_exc()), flush=True)
            failed += 1
    print('package: %d passed, %d failed' % (passed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
