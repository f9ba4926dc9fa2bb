"""Driving zentiq.exe in the Wine virtual desktop: the probe, screenshots, mouse and keys."""
import contextlib
import os
import re
import shutil
import subprocess
import time

WS_CAPTION = 0x00C00000
WS_THICKFRAME = 0x00040000
WS_EX_TOPMOST = 0x00000008
WS_EX_TOOLWINDOW = 0x00000080


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(args, timeout=30, **kw):
    return subprocess.run(args, capture_output=True, text=True, timeout=timeout, **kw)


class Desktop:
    def __init__(self, build):
        self.build = os.path.abspath(build)
        self.exe = os.path.join(self.build, 'src', 'app', 'zentiq.exe')
        self.probe_exe = os.path.join(self.build, 'tests', 'e2e', 'probe.exe')
        self.work = os.path.join(self.build, 'e2e')
        self.shots = os.path.join(self.work, 'shots')
        self.pictures = os.path.join(self.work, 'pictures')
        os.makedirs(self.shots, exist_ok=True)
        os.makedirs(self.pictures, exist_ok=True)
        # Bring the Wine desktop up before any test: a program started while it is still coming
        # up can hang the first probe.
        run(['wine', self.probe_exe, 'workarea'], timeout=120)

    def probe(self, *args):
        # Two Wine processes that start at the same moment can hang one of them; a probe that
        # does not answer is ended and asked again.
        for attempt in range(3):
            began = time.time()
            try:
                # The probe writes the system's ANSI code page (a copyright sign is 0xA9).
                out = run(['wine', self.probe_exe, *args], timeout=10, encoding='cp1252',
                          errors='replace').stdout
                break
            except subprocess.TimeoutExpired:
                if attempt == 2:
                    raise
        if os.environ.get('ZQ_E2E_TRACE'):
            print('  probe %s: %.2fs' % (' '.join(args), time.time() - began), flush=True)
        records = []
        for line in out.splitlines():
            fields = {}
            for part in line.strip('\r').split('\t'):
                if '=' in part:
                    k, v = part.split('=', 1)
                    fields.setdefault(k, v) if k != 'text' else fields.setdefault('texts', []).append(v)
            if fields:
                records.append(fields)
        return records

    def windows(self, cls=None):
        recs = self.probe('windows', cls) if cls else self.probe('windows')
        for r in recs:
            for k in ('hwnd', 'pid', 'left', 'top', 'right', 'bottom', 'cleft', 'ctop', 'cwidth',
                      'cheight', 'style', 'exstyle', 'visible', 'owner'):
                if k in r:
                    r[k] = int(r[k])
        return recs

    def children(self, hwnd):
        recs = self.probe('children', str(hwnd))
        for r in recs:
            for k in ('hwnd', 'id', 'visible', 'left', 'top', 'right', 'bottom'):
                if k in r:
                    r[k] = int(r[k])
        return recs

    def child(self, hwnd, cls, title=None):
        """The first descendant of the class (and title, when given), or None."""
        for k in self.children(hwnd):
            if k['class'].lower() == cls.lower() and (title is None or k.get('title') == title):
                return k
        return None

    def send(self, hwnd, msg, wparam=0, lparam=0):
        return int(self.probe('send', str(hwnd), str(msg), str(wparam), str(lparam))[0]['result'])

    def click(self, rect, button=1):
        """Clicks the middle of a window record."""
        self.xdo('mousemove', (rect['left'] + rect['right']) // 2, (rect['top'] + rect['bottom']) // 2)
        time.sleep(0.2)
        self.xdo('click', button)
        time.sleep(0.4)

    def status_text(self, bar, panel):
        recs = self.probe('status', str(bar), str(panel))
        return recs[0]['texts'][0] if recs and recs[0].get('texts') else ''

    def screenshot(self, name=None):
        raw = subprocess.run(['import', '-window', 'root', '-depth', '8', 'rgb:-'],
                             capture_output=True, timeout=30).stdout
        shot = Shot(raw, 800, 600)
        if name:
            subprocess.run(['import', '-window', 'root', os.path.join(self.shots, name + '.png')],
                           capture_output=True, timeout=30)
        return shot

    def picture(self, name, box, scale=1):
        """Saves the screen inside box (left, top, right, bottom), enlarged pixel by pixel
        `scale` times, as pictures/<name>.png for the README (scripts/pictures)."""
        left, top, right, bottom = box
        screen = subprocess.run(['import', '-window', 'root', 'png:-'], capture_output=True,
                                timeout=30).stdout
        made = subprocess.run(['convert', 'png:-', '-crop',
                               '%dx%d+%d+%d' % (right - left, bottom - top, left, top), '+repage',
                               '-scale', '%d%%' % (100 * scale), '-strip',
                               os.path.join(self.pictures, name + '.png')],
                              input=screen, capture_output=True, timeout=30)
        check(made.returncode == 0, 'picture %s: %s' % (name, made.stderr.decode(errors='replace')))

    def side_by_side(self, name, parts):
        """Joins pictures made by picture() left to right into pictures/<name>.png; the parts
        are removed."""
        paths = [os.path.join(self.pictures, part + '.png') for part in parts]
        made = run(['convert', *paths, '+append', '-strip',
                    os.path.join(self.pictures, name + '.png')])
        check(made.returncode == 0, 'picture %s: %s' % (name, made.stderr))
        for path in paths:
            os.remove(path)

    def xdo(self, *args):
        run(['xdotool', *[str(a) for a in args]])

    def winpath(self, path):
        return run(['wine', 'winepath', '-w', path]).stdout.strip()

    def appdata(self):
        """The user's application data folder (%APPDATA%) as a Linux path."""
        folder = run(['wine', 'cmd', '/c', 'echo', '%APPDATA%']).stdout.strip()
        return run(['wine', 'winepath', '-u', folder]).stdout.strip()


@contextlib.contextmanager
def other_display_scaling(desk, dpi):
    """A desktop of the same prefix at another resolution (LogPixels): a copy of the prefix,
    made once and kept beside it, whose Wine desktop comes up over this one while in use."""
    base = os.environ['WINEPREFIX']
    prefix = '%s-dpi%d' % (base, dpi)
    if not os.path.exists(os.path.join(prefix, '.zentiq-dpi')):
        shutil.rmtree(prefix, ignore_errors=True)
        run(['cp', '-a', base, prefix], timeout=300)
        env = dict(os.environ, WINEPREFIX=prefix)
        for key in ('HKCU\\Control Panel\\Desktop', 'HKCC\\Software\\Fonts'):
            run(['wine', 'reg', 'add', key, '/v', 'LogPixels', '/t', 'REG_DWORD', '/d', str(dpi),
                 '/f'], env=env, timeout=120)
        run(['wineserver', '-w'], env=env, timeout=120)
        open(os.path.join(prefix, '.zentiq-dpi'), 'w').close()
    os.environ['WINEPREFIX'] = prefix
    try:
        yield Desktop(desk.build)
    finally:
        run(['wineserver', '-k'], timeout=60)
        os.environ['WINEPREFIX'] = base


@contextlib.contextmanager
def system_colour(desk, name, rgb):
    """The Wine desktop started again with one of the user's system colours (a value of
    HKCU\\Control Panel\\Colors, say Menu, the colour Wine's taskbar is painted in) set to rgb,
    and started again with the old colour after. Explorer reads the colours when it starts:
    SetSysColors reaches new programs but does not repaint its taskbar."""
    key = r'HKCU\Control Panel\Colors'
    old = run(['wine', 'reg', 'query', key, '/v', name]).stdout.split('REG_SZ')[-1].strip()
    check(re.fullmatch(r'\d+ \d+ \d+', old), 'no colour %s in the registry' % name)

    def restart(value):
        run(['wine', 'reg', 'add', key, '/v', name, '/d', value, '/f'])
        run(['wineserver', '-k'], timeout=60)
        run(['wine', desk.probe_exe, 'workarea'], timeout=120)

    restart('%d %d %d' % rgb)
    try:
        yield
    finally:
        restart(old)


def tray_icon_box(shot):
    """Bounding box (x0, y0, x1, y1) of the notification area's icons: pixels of the taskbar's
    right part that differ from the taskbar's own colour."""
    bg = shot.pixel(400, 590)
    xs, ys = [], []
    for y in range(582, 600):
        for x in range(600, 800):
            if shot.pixel(x, y) != bg:
                xs.append(x)
                ys.append(y)
    if not xs:
        return None
    return min(xs), min(ys), max(xs), max(ys)


def colours_in(shot, box):
    x0, y0, x1, y1 = box
    return {shot.pixel(x, y) for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)}


class Shot:
    def __init__(self, raw, width, height):
        self.raw, self.width, self.height = raw, width, height

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.raw[i:i + 3])


class Meter:
    """One run of zentiq.exe from a folder of its own (its settings file lives beside it)."""

    def __init__(self, desk, name, ini=None, read_only=False):
        self.desk = desk
        self.dir = os.path.join(desk.work, name)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        self.exe = os.path.join(self.dir, 'zentiq.exe')
        shutil.copy(desk.exe, self.exe)
        self.ini = os.path.join(self.dir, 'zentiq.ini')
        if ini is not None:
            with open(self.ini, 'wb') as f:
                f.write(ini if isinstance(ini, bytes) else ini.encode('cp1252'))
            if read_only:
                os.chmod(self.ini, 0o444)
        self.proc = None

    def start(self, env=None):
        self.proc = subprocess.Popen(['wine', self.exe], stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL,
                                     env=dict(os.environ, **env) if env else None)
        time.sleep(1)  # let the program's process come up before the probe starts
        return self.wait_window()

    def window(self):
        for w in self.desk.windows('ZqWindow'):
            if w.get('title') == 'Zentiq':
                return w
        return None

    def dialog(self, title):
        for w in self.desk.windows('ZqWindow'):
            if w.get('title') == title and w['pid'] == self.window()['pid']:
                return w
        return None

    def app_window(self):
        for w in self.desk.windows('ZqApplication'):
            if w.get('title') == 'Zentiq':
                return w
        return None

    def wait_window(self, timeout=20):
        end = time.time() + timeout
        while time.time() < end:
            w = self.window()
            if w and w['visible']:
                time.sleep(0.5)
                return self.window()
            if self.proc.poll() is not None:
                raise Failure('zentiq.exe ended early with code %s' % self.proc.returncode)
            time.sleep(0.3)
        raise Failure('the meter window did not appear')

    def libraries(self):
        """The file names of the DLLs and Linux libraries this run's process has mapped."""
        names = set()
        for pid in os.listdir('/proc'):
            try:
                with open('/proc/%s/cmdline' % pid, 'rb') as f:
                    if f.read().split(b'\0')[0].decode(errors='replace') != self.exe:
                        continue
                with open('/proc/%s/maps' % pid) as f:
                    names |= {os.path.basename(line.split()[-1]).lower() for line in f
                              if '/' in line}
            except OSError:
                continue
        return names

    def centre(self):
        w = self.window()
        return (w['left'] + w['right']) // 2, (w['top'] + w['bottom']) // 2

    def menu_command(self, *keys):
        """Right-click the strip and choose a command by its access keys."""
        x, y = self.centre()
        self.desk.xdo('mousemove', x, y)
        time.sleep(0.2)
        self.desk.xdo('click', 3)
        time.sleep(0.8)
        for k in keys:
            self.desk.xdo('key', k)
            time.sleep(0.4)

    def exit_by_menu(self, timeout=15):
        self.menu_command('x')
        return self.wait_exit(timeout)

    def wait_exit(self, timeout=15):
        try:
            self.proc.wait(timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def ini_text(self):
        with open(self.ini, newline='') as f:
            return f.read()

    def ini_bytes(self):
        with open(self.ini, 'rb') as f:
            return f.read()

    def bar_fill(self, shot, background):
        """Share of the bar's inner row (below the frame, above the text) not in the background
        colour, for a left-to-right bar."""
        w = self.window()
        y = w['ctop'] + 2
        x0, span = w['cleft'] + 1, w['cwidth'] - 2
        filled = sum(1 for x in range(x0, x0 + span) if shot.pixel(x, y) != background)
        return filled / span if span > 0 else 0

    def stop(self):
        if self.proc is None or self.proc.poll() is not None:
            return
        w = self.window()
        if w:
            self.desk.probe('close', str(w['hwnd']))
        if not self.wait_exit(8):
            self.proc.kill()
            run(['wineserver', '-k'])
            self.proc.wait(10)
