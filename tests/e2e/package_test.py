#!/usr/bin/env python3
"""The package as a user gets it: unpacked into a fresh folder, zentiq.exe starts under Wine,
exits through its menu and leaves zentiq.ini beside itself. Prints 'package: N passed, N failed'.

The packed program must be the 32-bit one; where Wine runs only 64-bit programs, --program
names the 64-bit build of the same sources, which is started from the unpacked folder in its
place.

Usage: package_test.py --zip build/dist/zentiq-<version>-win32.zip --build build/release
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

I386 = 0x14C


def pe_machine(path):
    with open(path, 'rb') as f:
        header = f.read(4096)
    at = struct.unpack_from('<I', header, 0x3C)[0]
    check(header[at:at + 4] == b'PE\0\0', '%s is not a Windows program' % path)
    return struct.unpack_from('<H', header, at + 4)[0]


def unpacked_program_runs_and_keeps_its_settings_beside_it(desk, zip_path, program):
    with zipfile.ZipFile(zip_path) as z:
        names = sorted(z.namelist())
        check(names == ['LICENSE', 'README.txt', 'zentiq.exe'], 'package holds %s' % names)
        m = Meter(desk, 'package')
        shutil.rmtree(m.dir)
        os.makedirs(m.dir)
        z.extractall(m.dir)
    check(pe_machine(m.exe) == I386, 'the packed zentiq.exe is not a 32-bit x86 program')
    if program and pe_machine(program) != I386:
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
    parser.add_argument('--zip', required=True)
    parser.add_argument('--build', required=True)
    parser.add_argument('--program')
    args = parser.parse_args()
    desk = Desktop(args.build)
    passed = failed = 0
    for test in (unpacked_program_runs_and_keeps_its_settings_beside_it,):
        try:
            test(desk, os.path.abspath(args.zip), args.program)
            print('PASS ' + test.__name__, flush=True)
            passed += 1
        except Failure as e:
            print('FAIL %s: %s' % (test.__name__, e), flush=True)
            failed += 1
        except Exception:
            print('FAIL %s:\n%s' % (test.__name__, traceback.format_exc()), flush=True)
            failed += 1
    print('package: %d passed, %d failed' % (passed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
