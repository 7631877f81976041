#!/usr/bin/env python3
"""Writes THIRD-PARTY-NOTICES from what a Windows build actually linked.

Usage: third_party_notices.py BUILD_DIR [--check FILE]

For each shipped binary it reads the linker's map (BUILD_DIR/maps/NAME.map,
written by the link of every binary that tervolin_version_resource() marks)
for the archive members that went in, and Ninja's header dependencies of the
binary's own objects for the header-only libraries they compiled in, and
the workbench's page folder (BUILD_DIR/bin/workbench/) for the files copied
into it. Each archive, header or copied file is matched to a project below;
one this script does not know fails the run, so a new library cannot slip in
without its notice. The licence texts come from the Debian packages'
copyright files.
With --check FILE, compares instead and exits 1 when FILE differs.
"""
import os
import re
import subprocess
import sys

DOC = "/usr/share/doc"

BINARIES = ["Tervolin.dll", "mqhost.dll", "tervolin-run.exe", "tervolin-validate.exe", "tervolin-workbench.exe"]

# The workbench serves its own page (tools/workbench/page) and three.js,
# copied from Debian's libjs-three into the page folder's three/.
PAGE = "workbench"
PAGE_SOURCE = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                           "tools", "workbench", "page")
THREE_JS = "/usr/share/javascript/three"

# Windows' own DLLs, reached through mingw-w64's import libraries: nothing of
# theirs is copied into a binary but the import stubs.
IMPORT_MEMBER = re.compile(r"^(lib\w+?)(s\d+|h|t)\.o$|^libmsvcrt_def(s\d+|h|t)\.o$")

PROJECTS = [
    # key, title, archives, members (regex or None), headers (regex or None), licences
    ("gcc", "GCC runtime libraries (libstdc++, libgcc, libgcc_eh)",
     {"libstdc++.a", "libgcc.a", "libgcc_eh.a"}, None, None,
     [("text", "Copyright (C) Free Software Foundation, Inc.\n\n"
               "Licensed under the GNU General Public License, version 3, with the\n"
               "GCC Runtime Library Exception, version 3.1, which permits\n"
               "conveying this combination under terms of our choice. The\n"
               "exception reads:"),
      ("gcc-exception", None)]),
    ("mingw", "mingw-w64 runtime (start-up code and C runtime support)",
     {"libmingw32.a", "libmingwex.a", "libmsvcrt.a", "libmoldname.a"}, None, None,
     [("stanza", ("mingw-w64-common", "*")), ("text", "Parts of the start-up code are in the public domain.")]),
    ("gdtoa", "gdtoa, number conversions of the mingw-w64 runtime",
     {"libmingwex.a"}, re.compile(r"gdtoa|dmisc|gmisc|^.*-misc\.o|smisc|strtod|strtof|strtopx|hd_init|hexnan|gethex|-sum\.o"), None,
     [("stanza", ("mingw-w64-common", "mingw-w64-crt/gdtoa/*")),
      ("stanza", ("mingw-w64-common", "mingw-w64-crt/gdtoa/qnan.c"))]),
    ("pformat", "mingw-w64's printf family (mingw_pformat)",
     {"libmingwex.a"}, re.compile(r"mingw_pformat|mingw_v?s?n?f?printf"), None,
     [("stanza", ("mingw-w64-common", "mingw-w64-crt/misc/basename.c"))]),
    ("winpthreads", "winpthreads, mingw-w64's POSIX threads",
     {"libpthread.a"}, None, None,
     [("stanza", ("mingw-w64-common", "mingw-w64-libraries/winpthreads/*")),
      ("stanza", ("mingw-w64-common", "mingw-w64-libraries/winpthreads/include/pthread.h"))]),
    ("pugixml", "pugixml", {"libpugixml.a"}, None, None, [("stanza", ("libpugixml-dev", "*"))]),
    ("cli11", "CLI11", set(), None, re.compile(r"(^|/)CLI/"), [("stanza", ("libcli11-dev", "*"))]),
    ("json", "JSON for Modern C++ (nlohmann-json)", set(), None, re.compile(r"(^|/)nlohmann/"),
     [("stanza", ("nlohmann-json3-dev", "*"))]),
    ("tinyobj", "tinyobjloader", set(), None, re.compile(r"(^|/)tiny_obj_loader\.h$"),
     [("header", "/usr/include/tiny_obj_loader.h")]),
    ("httplib", "cpp-httplib", set(), None, re.compile(r"(^|/)httplib\.h$"),
     [("stanza", ("libcpp-httplib-dev", "*"))]),
    ("three", "three.js", set(), None, None, [("stanza", ("libjs-three", "*"))]),
]


def fail(message):
    sys.stderr.write("third_party_notices: %s\n" % message)
    sys.exit(2)


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def stanzas(package):
    """The paragraphs of a Debian machine-readable copyright file."""
    text = read(os.path.join(DOC, package, "copyright"))
    return [p for p in re.split(r"\n\s*\n", text) if p.strip()]


def field(paragraph, name):
    lines = paragraph.split("\n")
    for i, line in enumerate(lines):
        if line.startswith(name + ":"):
            value = [line[len(name) + 1:].strip()]
            for more in lines[i + 1:]:
                if not more.startswith((" ", "\t")):
                    break
                value.append(more.strip())
            return value
    return None


def body(lines):
    return "\n".join("" if l == "." else l for l in lines).strip()


def license_body(package, name):
    for p in stanzas(package):
        lic = field(p, "License")
        if lic and lic[0] == name and len(lic) > 1 and not field(p, "Files"):
            return body(lic[1:])
    for p in stanzas(package):
        lic = field(p, "License")
        if lic and lic[0] == name and len(lic) > 1:
            return body(lic[1:])
    fail("no text of licence %s in %s's copyright file" % (name, package))


def stanza_notice(package, files):
    for p in stanzas(package):
        f = field(p, "Files")
        if f and f[0] == files:
            copyright_lines = [c for c in (field(p, "Copyright") or []) if c]
            lic = field(p, "License")
            text = body(lic[1:]) if len(lic) > 1 else license_body(package, lic[0].split()[0])
            return "\n".join("Copyright " + c if not c.lower().startswith(("copyright", "public")) else c
                             for c in copyright_lines) + "\n\nLicence: " + lic[0] + "\n\n" + text
    fail("no stanza for %s in %s's copyright file" % (files, package))


def gcc_exception():
    text = read(os.path.join(DOC, "gcc-mingw-w64-base", "copyright"))
    start = text.index("GCC RUNTIME LIBRARY EXCEPTION")
    end = text.index("2. No Weakening of GCC Copyleft.", start)
    end = text.index("\n\n\n", end)
    return text[start:end].strip()


def header_notice(path):
    """The licence comment at the top of a header-only library."""
    text = read(path)
    match = re.search(r"/\*(.*?)\*/", text, re.S)
    if not match or "Permission is hereby granted" not in match.group(1):
        fail("no licence comment at the top of " + path)
    return "\n".join(l.strip() for l in match.group(1).strip().split("\n"))


def notice(parts):
    out = []
    for kind, value in parts:
        if kind == "text":
            out.append(value)
        elif kind == "gcc-exception":
            out.append(gcc_exception())
        elif kind == "stanza":
            out.append(stanza_notice(*value))
        elif kind == "header":
            out.append(header_notice(value))
    return "\n\n".join(out)


def map_inputs(path):
    """(archive base name, member) pairs and loaded object files of a map."""
    members, objects = [], []
    section = False
    for line in read(path).split("\n"):
        if line.startswith("Archive member included"):
            section = True
            continue
        if section and (line.startswith("Discarded input") or line.startswith("Memory Configuration")
                        or line.startswith("Allocating common")):
            section = False
        if section:
            m = re.match(r"^(\S+\.a)\((.+?)\)$", line.strip()) if line and not line.startswith(" ") else None
            if m:
                members.append((m.group(1), m.group(2)))
        m = re.match(r"^LOAD (\S+\.obj)$", line)
        if m:
            objects.append(m.group(1))
    return members, objects


def header_deps(build):
    """Ninja's recorded headers of every object: {object path: [headers]}."""
    out = subprocess.run(["ninja", "-C", build, "-t", "deps"], capture_output=True, text=True, check=True).stdout
    deps, current = {}, None
    for line in out.split("\n"):
        if line and not line.startswith(" "):
            current = line.split(":")[0]
            deps[current] = []
        elif line.strip() and current:
            deps[current].append(line.strip())
    return deps


def projects_of(build, binary, deps):
    members, objects = map_inputs(os.path.join(build, "maps", binary + ".map"))
    found = set()
    own_members = []
    for archive, member in members:
        name = os.path.basename(archive)
        if archive.startswith("lib/") and name.startswith(("libtervolin_", "libmqhost")):  # our own
            own_members.append((name, member))
            continue
        hits = [p[0] for p in PROJECTS if name in p[2] and (p[3] is None or p[3].search(member))]
        if not hits and name in {a for p in PROJECTS for a in p[2]}:
            hits = [p[0] for p in PROJECTS if name in p[2] and p[3] is None]
        if hits:
            found.update(hits)
        elif not IMPORT_MEMBER.match(member):
            fail("%s: %s(%s) belongs to no known project" % (binary, archive, member))
    # Our objects, loose or from our archives, and the headers they include.
    keys = list(objects)
    for name, member in own_members:
        target = re.sub(r"^lib|\.a$", "", name)
        keys += [k for k in deps if "/CMakeFiles/%s.dir/" % target in k and k.endswith("/" + member)]
    for key in keys:
        for header in deps.get(key, []):
            for p in PROJECTS:
                if p[4] is not None and p[4].search(header):
                    found.add(p[0])
    return found


def page_projects(build):
    """The projects of the files in the workbench's page folder: our own page
    files hold none; three/ must be Debian's three.js, byte for byte."""
    folder = os.path.join(build, "bin", PAGE)
    if not os.path.isdir(folder):
        fail("no page folder %s (build tervolin-workbench)" % folder)
    found = set()
    for where, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(where, name)
            relative = os.path.relpath(path, folder).replace(os.sep, "/")
            if relative.startswith("three/"):
                original = os.path.join(THREE_JS, relative[len("three/"):])
                if not os.path.isfile(original) or read_bytes(original) != read_bytes(path):
                    fail("%s/%s is not a copy of Debian's three.js (%s)" % (PAGE, relative, original))
                found.add("three")
            elif "/" in relative or read_bytes(path) != read_bytes(os.path.join(PAGE_SOURCE, name), True):
                fail("%s/%s belongs to no known project" % (PAGE, relative))
    return found


def read_bytes(path, missing_ok=False):
    if missing_ok and not os.path.isfile(path):
        return None
    with open(path, "rb") as f:
        return f.read()


def main():
    args = sys.argv[1:]
    if not args:
        fail("usage: third_party_notices.py BUILD_DIR [--check FILE]")
    build = args[0]
    version = read(os.path.join(build, "tervolin-version.txt")).strip()
    deps = header_deps(build)
    holds = {b: projects_of(build, b, deps) for b in BINARIES}
    holds[PAGE + "/ (the page tervolin-workbench.exe serves)"] = page_projects(build)
    used = [p for p in PROJECTS if any(p[0] in h for h in holds.values())]
    title = "Third-party notices for Tervolin %s" % version
    out = [title, "=" * len(title), "",
           "Tervolin is under the MIT licence (LICENSE). The Windows binaries we ship",
           "also hold code of the projects below, each under its own licence; their",
           "notices follow. This file is made from the linker's maps and the headers",
           "the sources include (tools/release/third_party_notices.py).",
           "",
           "The Linux tools are built from the same sources and hold the same",
           "header-only libraries (CLI11, nlohmann-json, tinyobjloader) and the same",
           "page folder; they use the system's C and C++ runtimes, pugixml and",
           "cpp-httplib as shared libraries, which are not shipped.", "",
           "What each Windows binary holds", "------------------------------", ""]
    for b in holds:
        names = [p[1] for p in PROJECTS if p[0] in holds[b]]
        out.append("%s:" % b)
        out += ["  - " + n for n in names]
        out.append("")
    for i, p in enumerate(used, 1):
        heading = "%d. %s" % (i, p[1])
        out += ["", heading, "-" * len(heading), "", notice(p[5]), ""]
    text = "\n".join(out).rstrip() + "\n"
    if len(args) == 3 and args[1] == "--check":
        if read(args[2]) != text:
            sys.stderr.write("third_party_notices: %s differs from what the link holds; run "
                             "tools/release/third_party_notices.py %s > %s\n" % (args[2], build, args[2]))
            sys.exit(1)
        return
    sys.stdout.write(text)


main()
