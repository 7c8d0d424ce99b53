#!/usr/bin/python3
"""Builds the Debian package of a build folder and checks it inside and out:

- its files: the program and its web panel's library in usr/lib/quvo, the launcher and the
  classroom server in usr/bin, every data file of the build's program folder (and nothing the
  program writes) in usr/share/quvo, the desktop's files, the manual pages, the copyright file
  with the sources' licences, the changelog and the server's unit; all owned by root;
- desktop-file-validate, appstreamcli validate and lintian find nothing wrong;
- unpacked into a temporary root, the launcher started with a temporary home (offscreen): it
  makes the per-user program folder, the dialog comes up, the settings written when the program
  ends land in that folder and survive a second start; a parent's own textbook stays, a link to
  a file the installed version no longer has goes, a file it has gained is linked; nothing is
  written into the installation; the installed program never asks for updates, where the
  program folder's own does.

    check_package.py --build BUILD_DIR --app-id ID
"""
import argparse
import http.server
import os
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import threading
import time

# Files the program writes into its program folder: never part of the package.
WRITTEN = ("quvocf.cfg", "xxjd.cfg", "xxjl.db", "server.txt", "update")
PROGRAM_FILES = ("quvo", "quvo-server", "libquvo_webpanel.so")
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)

# The settings record: eight 32-bit switches, then five 128-byte paths.
PINYIN_SWITCH = 28
PATH_FIELDS = {"theme": 32, "music": 160, "right cue": 288, "error cue": 416, "book": 544}

START_TIMEOUT = 120   # seconds for the dialog to come up; a generous bound, never a measure
EXIT_TIMEOUT = 60


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, **kwargs)


# --- building the package and reading its file list ----------------------------------------------

def build_package(build, out):
    result = run(["cpack", "--config", os.path.join(build, "CPackConfig.cmake"), "-B", out])
    check(result.returncode == 0, "cpack failed:\n" + result.stdout + result.stderr)
    debs = [name for name in os.listdir(out) if name.endswith(".deb")]
    check(len(debs) == 1, "cpack made %s, not one package" % debs)
    return os.path.join(out, debs[0])


def package_entries(deb):
    """path -> (mode string, owner) of every entry of the package's data."""
    result = run(["dpkg-deb", "-c", deb])
    check(result.returncode == 0, "dpkg-deb -c failed: " + result.stderr)
    entries = {}
    for line in result.stdout.splitlines():
        mode, owner, _size, _day, _time, path = line.split(None, 5)
        path = path.split(" -> ")[0]
        entries[os.path.normpath(path.lstrip("."))] = (mode, owner)
    return entries


def shipped_data(program_folder):
    """The data files of the build's program folder, relative to it."""
    found = set()
    for root, _dirs, files in os.walk(program_folder):
        for name in files:
            relative = os.path.relpath(os.path.join(root, name), program_folder)
            if relative in PROGRAM_FILES or name.startswith(WRITTEN):
                continue
            found.add(relative)
    return found


def check_file_list(deb, program_folder, app_id):
    entries = package_entries(deb)
    files = {path for path, (mode, _owner) in entries.items() if not mode.startswith("d")}
    data = shipped_data(program_folder)
    check("hz.db" in data and "fonts/quvokai.ttf" in data,
          "the build's program folder %s has no data" % program_folder)
    executables = {"/usr/bin/quvo", "/usr/bin/quvo-server", "/usr/lib/quvo/quvo"}
    expected = executables | {"/usr/lib/quvo/libquvo_webpanel.so"}
    expected |= {"/usr/share/quvo/" + relative for relative in data}
    expected |= {
        "/usr/share/applications/%s.desktop" % app_id,
        "/usr/share/metainfo/%s.metainfo.xml" % app_id,
        "/usr/share/man/man1/quvo.1.gz",
        "/usr/share/man/man1/quvo-server.1.gz",
        "/usr/share/doc/quvo/copyright",
        "/usr/share/doc/quvo/changelog.gz",
        "/usr/share/doc/quvo/screenshots/quvo-pieces.png",
        "/usr/share/doc/quvo/screenshots/quvo-rainbow.png",
        "/usr/lib/systemd/system/quvo-server.service",
    }
    expected |= {"/usr/share/icons/hicolor/%dx%d/apps/%s.png" % (s, s, app_id) for s in ICON_SIZES}
    check(files == expected, "the package's files differ from what it should hold:\n"
          "  missing: %s\n  not expected: %s" % (sorted(expected - files), sorted(files - expected)))
    for path, (mode, owner) in sorted(entries.items()):
        check(owner == "root/root", "%s belongs to %s" % (path, owner))
        if mode.startswith("d"):
            want = "drwxr-xr-x"
        else:
            want = "-rwxr-xr-x" if path in executables else "-rw-r--r--"
        check(mode == want, "%s has mode %s, not %s" % (path, mode, want))
    print("file list: %d files, as expected" % len(files))


# --- validators -----------------------------------------------------------------------------------

def check_validators(root, app_id):
    desktop = os.path.join(root, "usr/share/applications/%s.desktop" % app_id)
    result = run(["desktop-file-validate", desktop])
    check(result.returncode == 0 and not (result.stdout + result.stderr).strip(),
          "desktop-file-validate:\n" + result.stdout + result.stderr)
    metainfo = os.path.join(root, "usr/share/metainfo/%s.metainfo.xml" % app_id)
    result = run(["appstreamcli", "validate", "--no-net", "--pedantic", metainfo])
    check(result.returncode == 0, "appstreamcli validate:\n" + result.stdout + result.stderr)
    copyright_text = open(os.path.join(root, "usr/share/doc/quvo/copyright"), encoding="utf-8").read()
    for licence in ("ARPHIC PUBLIC LICENSE", "The MIT License", "UNICODE, INC. LICENSE AGREEMENT"):
        check(licence in copyright_text, "the copyright file lacks the text of " + licence)
    print("desktop-file-validate and appstreamcli validate: passed")


def check_lintian(deb, work):
    args = ["lintian", "--fail-on", "error,warning", "--display-info", deb]
    env = None
    if os.geteuid() == 0:
        # lintian warns against running as root: as root, it runs as nobody, who can read the
        # package and write in a folder of its own.
        home = os.path.join(work, "lintian")
        os.mkdir(home)
        os.chmod(home, 0o1777)
        for folder in (work, os.path.dirname(deb)):
            os.chmod(folder, 0o755)
        os.chmod(deb, 0o644)
        args = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"] + args
        env = dict(os.environ, HOME=home, TMPDIR=home)
    result = run(args, env=env)
    output = (result.stdout + result.stderr).strip()
    check(result.returncode == 0, "lintian:\n" + output)
    notes = [line for line in output.splitlines() if line.startswith("I: ")]
    print("lintian: no error, no warning, %d notes for information" % len(notes))


# --- the launcher, run from the unpacked package ---------------------------------------------------

class RecordingServer:
    """A page server that answers nothing (404) and remembers every request's method and path."""

    def __init__(self):
        self.requests = []
        outer = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def answer(self):
                outer.requests.append((self.command, self.path))
                length = int(self.headers.get("Content-Length") or 0)
                if length:
                    self.rfile.read(length)
                self.send_response(404)
                self.send_header("Content-Length", "0")
                self.end_headers()

            do_GET = do_POST = answer

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.address = "127.0.0.1:%d" % self.server.server_address[1]
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def asked_for_update(self):
        return any(path.startswith("/update.asp") for _method, path in self.requests)

    def close(self):
        self.server.shutdown()
        self.server.server_close()


def clean_environment(home, server=None):
    env = {key: value for key, value in os.environ.items()
           if key not in ("XDG_DATA_HOME", "QUVO_SERVER", "QUVO_NO_UPDATE_CHECK", "DISPLAY",
                          "WAYLAND_DISPLAY")}
    env.update(HOME=home, QT_QPA_PLATFORM="offscreen", QUVO_STARTUP_STAMP="1")
    if server is not None:
        env["QUVO_SERVER"] = server.address
    return env


class Run:
    """One start of a program, ended with SIGTERM as the desktop ends it."""

    def __init__(self, args, env, cwd=None):
        self.lines = []
        self.painted = threading.Event()
        self.proc = subprocess.Popen(args, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                     text=True, errors="replace", start_new_session=True)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stderr:
            self.lines.append(line.rstrip("\n"))
            if line.startswith("quvo: first paint at "):
                self.painted.set()

    def output(self):
        return "\n".join(self.lines[-40:])

    def wait_until_painted(self):
        deadline = time.monotonic() + START_TIMEOUT
        while not self.painted.is_set() and self.proc.poll() is None and time.monotonic() < deadline:
            self.painted.wait(0.2)
        check(self.painted.is_set(), "the dialog did not come up:\n" + self.output())

    def wait_for(self, condition, what):
        deadline = time.monotonic() + START_TIMEOUT
        while not condition() and self.proc.poll() is None and time.monotonic() < deadline:
            time.sleep(0.2)
        check(condition(), "the program never %s:\n%s" % (what, self.output()))

    def end(self):
        self.proc.send_signal(signal.SIGTERM)
        try:
            code = self.proc.wait(EXIT_TIMEOUT)
        except subprocess.TimeoutExpired:
            code = None
        self.kill()
        check(code == 0, "the program did not end cleanly on SIGTERM (%s):\n%s" % (code, self.output()))

    def kill(self):
        try:
            os.killpg(self.proc.pid, signal.SIGKILL)  # the web engine's helpers, if any are left
        except ProcessLookupError:
            pass
        if self.proc.poll() is None:
            self.proc.wait()


def snapshot(tree):
    found = {}
    for root, dirs, files in os.walk(tree):
        for name in dirs + files:
            path = os.path.join(root, name)
            info = os.lstat(path)
            found[path] = (stat.S_IMODE(info.st_mode), info.st_size, info.st_mtime_ns)
    return found


def settings_field(record, offset, size=128):
    return record[offset:offset + size].split(b"\0", 1)[0]


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def check_program_folder(folder, data):
    check(os.path.isdir(folder) and not os.path.islink(folder), "no program folder " + folder)
    for name in os.listdir(data):
        entry = os.path.join(folder, name)
        if name == "book":
            check(os.path.isdir(entry) and not os.path.islink(entry), "book/ is not a real folder")
            for book in os.listdir(os.path.join(data, "book")):
                link = os.path.join(entry, book)
                check(os.path.islink(link) and os.readlink(link) == os.path.join(data, "book", book),
                      "book/%s is not a link to the installed textbook" % book)
        else:
            check(os.path.islink(entry) and os.readlink(entry) == os.path.join(data, name),
                  "%s is not a link to the installed %s" % (entry, name))


def check_written_settings(folder):
    for name in ("quvocf.cfg", "xxjd.cfg"):
        path = os.path.join(folder, name)
        check(os.path.isfile(path) and not os.path.islink(path),
              "%s was not written into the program folder" % name)
    record = read_bytes(os.path.join(folder, "quvocf.cfg"))
    check(len(record) == 680, "quvocf.cfg holds %d bytes" % len(record))
    for what, offset in PATH_FIELDS.items():
        path = settings_field(record, offset).decode("gbk")  # the record holds GBK
        check(path and not path.startswith("/") and os.path.exists(os.path.join(folder, path)),
              "the %s path %r is not a file of the program folder" % (what, path))
    return record


def check_launcher(root, build, work):
    launcher = os.path.join(root, "usr/bin/quvo")
    data = os.path.join(root, "usr/share/quvo")
    home = os.path.join(work, "home")
    os.mkdir(home)
    folder = os.path.join(home, ".local/share/quvo")
    installed = snapshot(root)

    # First start: the folder is made and the settings are written into it at the end.
    first = Run([launcher], clean_environment(home))
    try:
        first.wait_until_painted()
        first.end()
    finally:
        first.kill()
    check_program_folder(folder, data)
    record = bytearray(check_written_settings(folder))
    progress = read_bytes(os.path.join(folder, "xxjd.cfg"))
    check(snapshot(root) == installed, "the program wrote into the installation")
    print("first start: program folder made, dialog up, settings written into " + folder)

    # The learner changes settings; a parent adds a textbook; a newer version ships a textbook
    # more and no longer has a file an older one linked.
    record[PINYIN_SWITCH:PINYIN_SWITCH + 4] = (0).to_bytes(4, "little")
    theme = b"theme/charming5.bmp"
    record[PATH_FIELDS["theme"]:PATH_FIELDS["theme"] + 128] = theme.ljust(128, b"\0")
    with open(os.path.join(folder, "quvocf.cfg"), "wb") as f:
        f.write(record)
    own_book = os.path.join(folder, "book", "我的课本.txt")
    with open(own_book, "wb") as f:
        f.write("天 地 人".encode("gbk"))
    new_book = os.path.join(data, "book", "新课本.txt")
    with open(new_book, "wb") as f:
        f.write("山 水".encode("gbk"))
    gone = [os.path.join(folder, "old.htm"), os.path.join(folder, "book", "旧课本.txt")]
    os.symlink(os.path.join(data, "old.htm"), gone[0])
    os.symlink(os.path.join(data, "book", "旧课本.txt"), gone[1])
    installed = snapshot(root)

    # Second start, with a page server that records what it is asked.
    server = RecordingServer()
    try:
        second = Run([launcher], clean_environment(home, server))
        try:
            second.wait_until_painted()
            second.wait_for(lambda: server.requests, "asked its page server for a page")
            second.end()
        finally:
            second.kill()
        check(not server.asked_for_update(),
              "the installed program asked for an update: %s" % server.requests)
        after = read_bytes(os.path.join(folder, "quvocf.cfg"))
        check(settings_field(after, PATH_FIELDS["theme"]) == theme,
              "the chosen theme did not survive: %r" % settings_field(after, PATH_FIELDS["theme"]))
        check(after[PINYIN_SWITCH:PINYIN_SWITCH + 4] == bytes(4), "the pinyin switch did not survive")
        check(read_bytes(os.path.join(folder, "xxjd.cfg"))[:len(progress)] == progress,
              "the textbook progress did not survive")
        check(os.path.isfile(own_book) and not os.path.islink(own_book)
              and read_bytes(own_book) == "天 地 人".encode("gbk"), "the parent's textbook was touched")
        check(not any(os.path.lexists(path) for path in gone), "links to files gone are still there")
        check_program_folder(folder, data)  # the new textbook is linked too
        check(snapshot(root) == installed, "the program wrote into the installation")
        print("second start: settings and progress kept, textbooks brought up to date, "
              "no update check among %d requests" % len(server.requests))

        # The program folder's own program, beside it, does ask: the check above can see one.
        control = Run([os.path.join(build, "quvo", "quvo")], clean_environment(home, server), cwd=folder)
        try:
            control.wait_for(server.asked_for_update, "asked for an update")
            control.end()
        finally:
            control.kill()
        print("the program folder's own program asks for updates; the installed one does not")
    finally:
        server.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", required=True, help="the build folder")
    parser.add_argument("--app-id", required=True, help="the desktop's name of the program")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    for tool in ("cpack", "dpkg-deb", "dpkg-shlibdeps", "desktop-file-validate", "appstreamcli",
                 "lintian", "setpriv"):
        check(shutil.which(tool), "%s is missing (tools/debian-packages.txt lists its package)" % tool)
    work = tempfile.mkdtemp(prefix="quvo-package-")
    try:
        deb = build_package(build, os.path.join(work, "package"))
        print("package: %s, %d bytes" % (os.path.basename(deb), os.path.getsize(deb)))
        check_file_list(deb, os.path.join(build, "quvo"), args.app_id)
        root = os.path.join(work, "root")
        result = run(["dpkg-deb", "-x", deb, root])
        check(result.returncode == 0, "dpkg-deb -x failed: " + result.stderr)
        check_validators(root, args.app_id)
        check_lintian(deb, work)
        check_launcher(root, build, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("the package is right")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Failure as failure:
        print("FAILED: %s" % failure, file=sys.stderr)
        sys.exit(1)
