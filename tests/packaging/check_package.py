#!/usr/bin/env python3
"""check_package.py BUILD_DIR VANTREL: installs the build into a scratch
prefix and builds the Debian package, then checks what a desktop needs of
them: the program and its manual page, a valid desktop entry that handles SWF
movies, the movie type, an icon of the right size in every hicolor folder,
and a package whose dependencies are the program's run-time libraries, never
the build's."""
import gzip
import os
import re
import struct
import subprocess
import sys
import tempfile

MIME_TYPE = "application/vnd.adobe.flash.movie"
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def png_size(path):
    with open(path, "rb") as f:
        header = f.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", header[16:24])


def check_installed(prefix, vantrel):
    share = os.path.join(prefix, "share")
    program = os.path.join(prefix, "bin", "vantrel")
    check(os.access(program, os.X_OK), "bin/vantrel is not installed")
    version = subprocess.run([program, "--version"], capture_output=True, text=True)
    check(version.returncode == 0 and version.stdout.startswith("Vantrel "),
          f"the installed vantrel --version printed {version.stdout!r}")

    entry_path = os.path.join(share, "applications", "vantrel.desktop")
    with open(entry_path) as f:
        entry = f.read()
    check(re.search(rf"^MimeType=.*{re.escape(MIME_TYPE)};", entry, re.M),
          "the desktop entry does not handle SWF movies")
    check(re.search(r"^Exec=vantrel .*%f", entry, re.M), "the desktop entry is not given the file")
    check(re.search(r"^Icon=vantrel$", entry, re.M), "the desktop entry names another icon")
    validate = subprocess.run(["desktop-file-validate", entry_path], capture_output=True, text=True)
    check(validate.returncode == 0 and not validate.stdout.strip(),
          f"desktop-file-validate: {validate.stdout.strip()}")

    with open(os.path.join(share, "mime", "packages", "vantrel.xml")) as f:
        types = f.read()
    check(f'type="{MIME_TYPE}"' in types and 'pattern="*.swf"' in types,
          "the movie type or its *.swf pattern is missing")

    icons = os.path.join(share, "icons", "hicolor")
    sizes = []
    for folder in sorted(os.listdir(icons)):
        path = os.path.join(icons, folder, "apps", "vantrel.png")
        if folder == "scalable":
            check(os.path.isfile(os.path.join(icons, folder, "apps", "vantrel.svg")),
                  "no scalable icon")
            continue
        side = int(folder.split("x")[0])
        sizes.append(side)
        check(png_size(path) == (side, side), f"the icon in {folder} is {png_size(path)}")
    for side in (16, 32, 48, 256):
        check(side in sizes, f"no {side} x {side} icon")

    # Every option of --help is in the manual page.
    with gzip.open(os.path.join(share, "man", "man1", "vantrel.1.gz"), "rt") as f:
        manual = f.read().replace("\\-", "-")
    usage = subprocess.run([vantrel, "--help"], capture_output=True, text=True).stdout
    for option in sorted(set(re.findall(r"^\s+(--[a-z-]+)", usage, re.M))):
        check(option in manual, f"the manual page leaves out {option}")


def check_package(build, scratch):
    subprocess.run(["cpack", "-G", "DEB", "-B", scratch], cwd=build, check=True,
                   capture_output=True)
    packages = [name for name in os.listdir(scratch) if name.endswith(".deb")]
    check(len(packages) == 1, f"cpack made {packages}")
    if not packages:
        return
    deb = os.path.join(scratch, packages[0])
    depends = subprocess.run(["dpkg-deb", "-f", deb, "Depends"], capture_output=True,
                             text=True).stdout
    names = [part.split()[0] for part in depends.split(",") if part.strip()]
    for needed in ("fonts-dejavu-core", "libcairo2", "libsdl2-2.0-0", "libcurl4"):
        check(needed in names, f"the package does not depend on {needed}: {depends}")
    # The decoders' libraries are loaded at run time, not linked, as are SDL2
    # and libcurl (named above).
    for loaded in ("libavcodec", "libavutil"):
        check(any(name.startswith(loaded) for name in names),
              f"the package does not depend on {loaded}: {depends}")
    for name in names:
        check(not name.endswith("-dev") and name not in ("cmake", "ninja-build", "gcc", "g++"),
              f"the package depends on the build's {name}")
    contents = subprocess.run(["dpkg-deb", "-c", deb], capture_output=True, text=True).stdout
    check("./usr/bin/vantrel" in contents, "the package has no /usr/bin/vantrel")


def main():
    build, vantrel = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as scratch:
        prefix = os.path.join(scratch, "prefix")
        subprocess.run(["cmake", "--install", build, "--prefix", prefix], check=True,
                       capture_output=True)
        check_installed(prefix, vantrel)
        check_package(build, os.path.join(scratch, "package"))
    for failure in failures:
        print("FAIL:", failure)
    print("package: ok" if not failures else f"package: {len(failures)} problems")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
