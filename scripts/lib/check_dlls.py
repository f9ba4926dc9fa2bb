#!/usr/bin/env python3
"""The DLL-loading rule, checked on the built program and the sources:

1. zentiq.exe imports only DLLs that Windows always takes from the system directory.
2. Every LoadLibrary call in src/ names one of those DLLs literally (or comctl32, which the
   manifest's side-by-side entry resolves, loaded when the first control of a system class
   needs it), or is the one loader that builds a full path in the system directory
   (src/toolkit/SystemLibrary.cpp).

    scripts/lib/check_dlls.py path/to/zentiq.exe [src-folder]

Prints each finding and ends with "dll-check: N passed, N failed"; the exit status is 1 on any
failure.
"""
import os
import re
import subprocess
import sys

SYSTEM_DLLS = {'kernel32.dll', 'user32.dll', 'gdi32.dll', 'advapi32.dll', 'shell32.dll',
               'comdlg32.dll', 'msvcrt.dll'}
BY_NAME = SYSTEM_DLLS | {'comctl32.dll'}
FULL_PATH_LOADERS = {os.path.join('toolkit', 'SystemLibrary.cpp')}
LOAD_CALL = re.compile(r'\bLoadLibrary(?:Ex)?[AW]?\s*\(\s*(L?"((?:[^"\\]|\\.)*)"|[^,)]*)')


def check_imports(exe):
    out = subprocess.run(['i686-w64-mingw32-objdump', '-p', exe], capture_output=True, text=True)
    names = [line.split(':', 1)[1].strip() for line in out.stdout.splitlines()
             if line.strip().startswith('DLL Name:')]
    if out.returncode != 0 or not names:
        return [f'cannot list the imports of {exe}: {out.stderr.strip()}']
    return [f'{exe} imports {name}, which is not a system DLL'
            for name in names if name.lower() not in SYSTEM_DLLS]


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
    exe = sys.argv[1]
    src = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), '..', '..',
                                                             'src')
    passed = failed = 0
    for title, problems in (('imports', check_imports(exe)), ('LoadLibrary calls',
                                                              check_sources(src)[0])):
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
