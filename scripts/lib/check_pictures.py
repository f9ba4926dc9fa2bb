#!/usr/bin/env python3
"""The README's pictures. The end-to-end run crops the screen to each window it shows
(build/<preset>/e2e/pictures); docs/images holds a copy of each, the same size in pixels (a
window that changed size wants new pictures: scripts/pictures), under 60 KB, shown by README.md.
With --copy the run's pictures replace the copies first. Ends with 'pictures: N passed, N failed'."""
import argparse
import os
import shutil
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
NAMES = ('strip', 'strip-each', 'menu', 'tray-numeric', 'options', 'system-information', 'about')
LIMIT = 60 * 1024


def dimensions(path):
    with open(path, 'rb') as f:
        head = f.read(24)
    if head[:8] != b'\x89PNG\r\n\x1a\n':
        return None
    return struct.unpack('>II', head[16:24])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('made', help="the end-to-end run's pictures folder")
    parser.add_argument('--copy', action='store_true', help='copy them into docs/images first')
    args = parser.parse_args()
    images = os.path.join(ROOT, 'docs', 'images')
    with open(os.path.join(ROOT, 'README.md')) as f:
        readme = f.read()
    passed = failed = 0
    for name in NAMES:
        made, kept = os.path.join(args.made, name + '.png'), os.path.join(images, name + '.png')
        problems = []
        if not os.path.isfile(made):
            problems.append('the end-to-end run made no %s' % made)
        elif args.copy:
            os.makedirs(images, exist_ok=True)
            shutil.copyfile(made, kept)
        if not os.path.isfile(kept):
            problems.append('no %s' % kept)
        else:
            if os.path.getsize(kept) >= LIMIT:
                problems.append('%d bytes, not under %d' % (os.path.getsize(kept), LIMIT))
            if os.path.isfile(made) and dimensions(made) != dimensions(kept):
                problems.append('%s is %s, the program shows %s: run scripts/pictures'
                                % (kept, dimensions(kept), dimensions(made)))
            if 'docs/images/%s.png' % name not in readme:
                problems.append('README.md does not show it')
        if problems:
            failed += 1
            print('FAIL %s: %s' % (name, '; '.join(problems)))
        else:
            passed += 1
            print('PASS %s %s, %d bytes' % (name, dimensions(kept), os.path.getsize(kept)))
    print('pictures: %d passed, %d failed' % (passed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
