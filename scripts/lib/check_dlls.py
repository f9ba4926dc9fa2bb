#!/usr/bin/env python3
"""The DLL-loading rule, checked on the built program and the sources:

1. zentiq.exe imports only DLLs that Windows always takes from the system directory; with
   --like, only DLLs that the other program (the 32-bit one, for the 64-bit) imports too.
2. Every LoadLibrary call in src/ names one of those DLLs literally (or comctl32, which the
   manifest's side-by-side entry resolves, loaded when the first control of a system class
   needs it), or is the one loader that builds a full path in the system directory
   (src/toolkit/SystemLibrary.cpp).

    scripts/lib/check_dlls.py path/to/zentiq.exe [src-folder] [--like path/to/other/zentiq.exe]

Prints each finding and ends with "dll-check: N passed, N failed"; the exit status is 1 on any
failure.
"""
import argparse
import os
import re
import struct
import subprocess
import sys

SYSTEM_DLLS = {'kernel32.dll', 'user32.dll', 'gdi32.dll', 'advapi32.dll', 'shell32.dll',
               'comdlg32.dll', 'msvcrt.dll'}
BY_NAME = SYSTEM_DLLS | {'comctl32.dll'}
FULL_PATH_LOADERS = {os.path.join('toolkit', 'SystemLibrary.cpp')}
LOAD_CALL = re.compile(r'\bLoadLibrary(?:Ex)?[AW]?\s*\(\s*(L?"((?:[^"\\]|\\.)*)"|[^,)]*)')


def objdump_for(exe):
    """The mingw objdump of the program's machine (x86-64 or x86)."""
    with open(exe, 'rb') as f:
        header = f.read(4096)
    at = struct.unpack_from('<I', header, 0x3C)[0]
    machine = struct.unpack_from('<H', header, at + 4)[0] if header[at:at + 4] == b'PE\0\0' else 0
    return 'x86_64-w64-mingw32-objdump' if machine == 0x8664 else 'i686-w64-mingw32-objdump'


def imports_of(exe):
    """The DLLs a program imports, in lower case, or None where they cannot be listed."""
    out = subprocess.run([objdump_for(exe), '-p', exe], capture_output=True, text=True)
    names = [line.split(':', 1)[1].strip().lower() for line in out.stdout.splitlines()
             if line.strip().startswith('DLL Name:')]
    return names if out.returncode == 0 and names else None


def check_imports(exe, like=None):
    names = imports_of(exe)
    if names is None:
        return [f'cannot list the imports of {exe}']
    problems = [f'{exe} imports {name}, which is not a system DLL'
                for name in names if name not in SYSTEM_DLLS]
    if like:
        others = imports_of(like)
        if others is None:
            return problems + [f'cannot list the imports of {like}']
        problems += [f'{exe} imports {name}, which {like} does not'
                     for name in names if name not in others]
    return problems


def check_sources(src):
    problems, calls = [], 0
    for folder, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith(('.cpp', '.h', '.c')):
                continue
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, src)
            text = open(path, encoding='utf-8', errors='replace').read()
            for match in LOAD_CALL.finditer(text):
                calls += 1
                line = text.count('\n', 0, match.start()) + 1
                literal = match.group(2)
                if literal is not None:
                    if literal.lower() not in BY_NAME:
                        problems.append(f'{relative}:{line} loads "{literal}" by name')
                elif relative not in FULL_PATH_LOADERS:
                    problems.append(f'{relative}:{line} loads a DLL whose name is not a literal '
                                    'system DLL (use TSystemLibrary)')
    return problems, calls


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('exe')
    parser.add_argument('src', nargs='?',
                        default=os.path.join(os.path.dirname(__file__), '..', '..', 'src'))
    parser.add_argument('--like')
    args = parser.parse_args()
    passed = failed = 0
    for title, problems in (('imports', check_imports(args.exe, args.like)),
                            ('LoadLibrary calls', check_sources(args.src)[0])):
        for problem in problems:
            print(f'FAIL {problem}')
        if problems:
            failed += 1
        else:
            print(f'ok   {title}')
            passed += 1
    print(f'dll-check: {passed} passed, {failed} failed')
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
