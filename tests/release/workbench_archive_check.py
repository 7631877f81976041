#!/usr/bin/python3
"""The workbench as the tools archives ship it.

    workbench_archive_check.py SOURCE_DIR LINUX_TOOLS_DIR WINDOWS_TOOLS_ZIP [WINE_RUN]

LINUX_TOOLS_DIR is the unpacked Linux tools archive's folder. From it, the
workbench is started on a free loopback port with the bundled sample scene,
as the manual says; every file of its page must answer with the bytes of its
source (the page's own files, and Debian's three.js), and a "(&L)ine" pick
on the scene must go through the plug-in and the host beside it; Ctrl+C must
end it with status 0. The Windows zip must hold tervolin-workbench.exe and
every page file in the same places; with WINE_RUN (a build's wine-run.sh),
it is unzipped and its workbench checked the same way under Wine. Prints
each failure; exit status 1 when there is one.
"""
import json
import os
import shutil
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "workbench"))
from workbench_process import Workbench  # noqa: E402

THREE_JS = "/usr/share/javascript/three"
# What the page loads from three.js, kept here rather than read from the build.
THREE_FILES = ["build/three.module.js", "examples/jsm/controls/OrbitControls.js"]

failures = []


def fail(message):
    failures.append(message)
    print("workbench_archive_check: FAIL " + message)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def page_files(source):
    """{path in the page folder: source file}"""
    page = os.path.join(source, "tools", "workbench", "page")
    files = {name: os.path.join(page, name) for name in sorted(os.listdir(page))}
    files.update({"three/" + name: os.path.join(THREE_JS, name) for name in THREE_FILES})
    return files


def check_live(label, command, folder, files):
    """The workbench started from FOLDER (its cwd, in a folder of the
    archive's): every page file served as built, and a pick."""
    before = len(failures)
    for name in files:
        if not os.path.isfile(os.path.join(folder, "workbench", name)):
            fail("the %s lacks workbench/%s" % (label, name))
    try:
        bench = Workbench(command, cwd=folder)
    except RuntimeError as error:
        return fail(str(error))
    try:
        for url, name in [("/", "index.html")] + [("/" + name, name) for name in files]:
            status, _, body = bench.request("GET", url)
            if status != 200 or body != read(files[name]):
                fail("%s: GET %s: HTTP %d, %d bytes, not workbench/%s as built" %
                     (label, url, status, len(body), name))
        state = bench.call("state")
        if [o["name"] for o in state["objects"]] != ["Ring"]:
            fail("%s: the bundled scene did not open: objects %s" % (label, [o["name"] for o in state["objects"]]))
        bench.call("select", {"object": 0, "lines": [[0, 3]]})
        bench.call("pick")
        state = bench.call("click", {"caption": "(&L)ine"})
        report = state["report"]["json"]
        if report["operation"]["caption"] != "(&L)ine" or report["protocolErrors"]:
            fail("%s: the pick: %s" % (label, json.dumps(report)[:400]))
        elif len(failures) == before:
            print("  workbench from the %s: %d page files served, (&L)ine picked, frame %s" %
                  (label, len(files), [round(x, 5) for x in state["objects"][0]["frame"][:8]]))
    except (AssertionError, KeyError, OSError) as error:
        fail("the workbench from the %s: %s" % (label, error))
    finally:
        try:
            status = bench.stop()
            if status != 0 or "stopped" not in bench.output():
                fail("%s: the workbench ended with status %d: %s" % (label, status, bench.output()[-400:]))
        except AssertionError as error:
            fail(str(error))


def check_windows(archive, files, wine_run):
    names = set(zipfile.ZipFile(archive).namelist())
    folder = os.path.basename(archive)[:-len(".zip")]
    before = len(failures)
    for name in ["tervolin-workbench.exe"] + ["workbench/" + f for f in files]:
        if folder + "/" + name not in names:
            fail("%s lacks %s/%s" % (os.path.basename(archive), folder, name))
    if len(failures) == before:
        print("  %s: tervolin-workbench.exe and its %d page files" % (os.path.basename(archive), len(files)))
    if wine_run and len(failures) == before:
        unzipped = tempfile.mkdtemp(prefix="workbench-archive-")
        try:
            zipfile.ZipFile(archive).extractall(unzipped)
            where = os.path.join(unzipped, folder)
            check_live("Windows archive, under Wine", [wine_run, "tervolin-workbench.exe", "scenes\\edge-loop.json"],
                       where, files)
        finally:
            shutil.rmtree(unzipped, ignore_errors=True)


def main():
    if len(sys.argv) not in (4, 5):
        sys.exit("usage: workbench_archive_check.py SOURCE_DIR LINUX_TOOLS_DIR WINDOWS_TOOLS_ZIP [WINE_RUN]")
    source, linux, windows = sys.argv[1:4]
    files = page_files(source)
    linux = os.path.abspath(linux)
    check_live("Linux archive", [os.path.join(linux, "tervolin-workbench"), os.path.join("scenes", "edge-loop.json")],
               linux, files)
    check_windows(windows, files, os.path.abspath(sys.argv[4]) if len(sys.argv) == 5 else None)
    sys.exit(1 if failures else 0)


main()
