"""The workbench's page in headless Chromium (Selenium, Debian's
chromium-driver): a scene opened, an edge selected by clicking it in the 3D
view, the dialog's "(&L)ine" clicked, the frame compared with the runner's
for the same pick and with the saved scene, undone, a disabled button
ignored, N pressed with a face selected; then a grid of a million vertices
opened and picked, its times printed. Screenshots of each step go to OUT.

    workbench_browser_test.py --workbench EXE --runner EXE --scenes DIR --out DIR
                              [--no-grid] [--wrapper PROGRAM]

--wrapper runs both programs through PROGRAM (Wine, for the Windows build).
"""
import argparse
import json
import os
import subprocess
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By

from workbench_process import Workbench

IDENTITY = [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1]
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def close_to(a, b, tolerance=1e-5):
    return len(a) == len(b) and all(abs(x - y) < tolerance for x, y in zip(a, b))


def wait(what, predicate, timeout=60):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError("timed out waiting for " + what)


class Page:
    def __init__(self, bench, out):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for argument in ("--headless=new", "--no-sandbox", "--window-size=1500,900", "--use-angle=swiftshader",
                         "--enable-unsafe-swiftshader", "--disable-dev-shm-usage", "--no-first-run"):
            options.add_argument(argument)
        self.downloads = os.path.join(out, "downloads")
        os.makedirs(self.downloads, exist_ok=True)
        for name in os.listdir(self.downloads):
            os.remove(os.path.join(self.downloads, name))
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                                    {"behavior": "allow", "downloadPath": self.downloads})
        self.bench = bench
        self.out = out
        self.step = 0
        self.driver.get(bench.url)
        wait("the page", lambda: self.js("return window.workbench && window.workbench.ready"))

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def shown(self):
        """Waits until the page shows the workbench's latest state; returns it."""
        state = self.bench.call("state")
        wait("the page to show version %d" % state["version"],
             lambda: self.js("return window.workbench.shownVersion") >= state["version"])
        return state

    def shot(self, name):
        self.step += 1
        path = os.path.join(self.out, "%02d-%s.png" % (self.step, name))
        self.driver.save_screenshot(path)
        print("     screenshot " + path, flush=True)

    def click_at(self, x, y, shift=False):
        canvas = self.driver.find_element(By.ID, "view")
        rect = self.js("return arguments[0].getBoundingClientRect().toJSON()", canvas)
        dx = int(round(x - (rect["left"] + rect["width"] / 2)))
        dy = int(round(y - (rect["top"] + rect["height"] / 2)))
        actions = ActionChains(self.driver).move_to_element_with_offset(canvas, dx, dy)
        if shift:
            actions = actions.key_down("\ue008")
        actions = actions.click()
        if shift:
            actions = actions.key_up("\ue008")
        actions.perform()

    def screen_of(self, point):
        return self.js("return window.workbench.view.toScreen(arguments[0], arguments[1], arguments[2])", *point)

    def open_file(self, path):
        before = self.bench.call("state")["version"]
        self.driver.find_element(By.ID, "open-file").send_keys(os.path.abspath(path))
        wait("the scene to open", lambda: self.bench.call("state")["version"] > before, 600)
        return self.shown()

    def menu_pick(self):
        self.driver.find_element(By.ID, "object-menu").click()
        self.driver.find_element(By.CSS_SELECTOR, "[data-menu='Tervolin']").click()
        wait("the dialog", lambda: self.driver.find_elements(By.CSS_SELECTOR, ".dialog-window"))
        return self.shown()

    def control(self, caption):
        return self.driver.find_element(By.CSS_SELECTOR, ".dialog-window [data-caption='%s']" % caption)

    def set_mode(self, mode):
        self.driver.find_element(By.CSS_SELECTOR, "input[name=mode][value=%s]" % mode).click()


def runner_frame(runner, scene, lines, caption):
    """The frame the runner gives for the same selection and click."""
    command = runner + [scene, "--click", caption, "--json"]
    if lines:
        command += ["--select-lines", "Ring:" + ",".join("%d/%d" % (f, e) for f, e in lines)]
    report = json.loads(subprocess.run(command, capture_output=True, text=True, check=True).stdout)
    if not report["changed"]:
        return IDENTITY
    after = report["changed"][0]["frameAfter"]
    return after["X"] + after["Y"] + after["Z"] + after["origin"]


def edge_vertices(state_mesh_face, edge):
    return state_mesh_face[edge], state_mesh_face[(edge + 1) % len(state_mesh_face)]


def write_grid(path, side):
    """A flat grid of side x side vertices as a scene file."""
    if os.path.exists(path) and os.path.getsize(path) > 0:
        return
    with open(path, "w") as file:
        file.write('{"version": 1, "objects": [{"name": "Grid", "vertices": [')
        step = 1.0 / (side - 1)
        file.write(",".join("[%.6g,0,%.6g]" % (x * step, z * step) for z in range(side) for x in range(side)))
        file.write('], "faces": [')
        file.write(",".join("[%d,%d,%d,%d]" % (z * side + x, (z + 1) * side + x, (z + 1) * side + x + 1, z * side + x + 1)
                            for z in range(side - 1) for x in range(side - 1)))
        file.write('], "selectedLines": [[0, 0]]}], "currentObject": "Grid"}\n')


def main():
    parser = argparse.ArgumentParser()
    for option in ("--workbench", "--runner", "--scenes", "--out"):
        parser.add_argument(option, required=True)
    parser.add_argument("--wrapper", default=None)
    parser.add_argument("--no-grid", action="store_true")
    given = parser.parse_args()
    wrapper = [given.wrapper] if given.wrapper else []
    scenes, out, grid = given.scenes, given.out, not given.no_grid
    runner = wrapper + [given.runner]
    os.makedirs(out, exist_ok=True)
    # A scene named on the command line by its absolute path (under Wine a
    # Unix path, which must not be taken for a "/x"-style option).
    wedge = os.path.abspath(os.path.join(scenes, "wedge.json"))
    bench = Workbench(wrapper + [given.workbench, wedge])
    check(bench.call("state")["scene"] == "wedge.json", "the workbench opened the scene it was started with")
    page = None
    try:
        page = Page(bench, out)
        ring = os.path.join(scenes, "edge-loop.json")
        state = page.open_file(ring)
        check(state["scene"] == "edge-loop.json", "the page opened edge-loop.json")
        page.shot("opened")

        # Select the edge from vertex 0 to vertex 4 by clicking it.
        page.driver.find_element(By.ID, "clear-selection").click()
        wait("the selection to clear", lambda: page.shown()["objects"][0]["selectedLines"] == 0)
        # From the back the edge lies on the nearest face.
        page.driver.find_element(By.CSS_SELECTOR, "[data-view=Back]").click()
        page.set_mode("edge")
        x, y = page.screen_of((0.5, 0.5, 0.0)).values()
        page.click_at(x, y)
        state = wait("the edge's selection", lambda: (lambda s: s if s["objects"][0]["selectedLines"] == 1 else None)(page.shown()))
        lines = [tuple(pair) for pair in json.loads(bench.call("save")["text"])["objects"][0]["selectedLines"]]
        faces = json.loads(bench.call("save")["text"])["objects"][0]["faces"]
        picked = {faces[lines[0][0]][lines[0][1]], faces[lines[0][0]][(lines[0][1] + 1) % len(faces[lines[0][0]])]}
        check(picked == {0, 4}, "a click on the edge selected the line from vertex 0 to 4 (got %s)" % sorted(picked))
        page.shot("edge-selected")

        state = page.menu_pick()
        check(state["dialog"]["open"], "Object > Tervolin opened the dialog in the page")
        underlined = page.js("return [...document.querySelectorAll('.dialog-window u')].map(u => u.textContent).join('')")
        check("L" in underlined and "N" in underlined, "accelerator letters are underlined (%s)" % underlined)
        normal = page.control("(&N)ormal of a Face")
        check("disabled" in normal.get_attribute("class"), "(&N)ormal of a Face is drawn disabled without a face")
        page.shot("dialog")

        normal.click()
        wait("the host's answer", lambda: page.js("return window.workbench.lastIgnored"))
        state = page.shown()
        check(state["dialog"]["open"] and close_to(state["objects"][0]["frame"], IDENTITY),
              "a click on the disabled button changed nothing and the dialog stayed open")
        page.shot("disabled-ignored")

        page.control("(&L)ine").click()
        wait("the dialog to close", lambda: not page.driver.find_elements(By.CSS_SELECTOR, ".dialog-window"))
        state = page.shown()
        frame = state["objects"][0]["frame"]
        expected = runner_frame(runner, ring, lines, "Line")
        check(close_to(frame, expected), "the frame after (&L)ine is the runner's for the same pick: %s" % frame[:8])
        check(not close_to(frame, IDENTITY), "(&L)ine turned the frame")
        check(page.js("return document.getElementById('report-summary').textContent").find("(L)ine") >= 0,
              "the report panel names the operation")
        page.shot("line-applied")

        page.driver.find_element(By.ID, "save").click()
        saved = wait("the saved file", lambda: [n for n in os.listdir(page.downloads) if n.endswith(".json")])
        with open(os.path.join(page.downloads, saved[0])) as file:
            check(close_to(json.load(file)["objects"][0]["frame"], frame), "the saved scene holds the new frame")

        page.driver.find_element(By.ID, "undo").click()
        wait("the undo", lambda: page.shown()["undo"] == 0)
        check(close_to(page.shown()["objects"][0]["frame"], IDENTITY), "Undo restored the old frame")
        page.shot("undone")

        # N with a face selected: the Y axis follows the face's normal.
        page.set_mode("face")
        x, y = page.screen_of((1.0, 0.5, 0.0)).values()
        page.click_at(x, y)
        wait("the face's selection", lambda: page.shown()["objects"][0]["selectedFaces"] == 1)
        page.menu_pick()
        page.driver.find_element(By.TAG_NAME, "body").send_keys("n")
        wait("the dialog to close", lambda: not page.driver.find_elements(By.CSS_SELECTOR, ".dialog-window"))
        state = page.shown()
        operation = state["report"]["json"]["operation"]
        check(operation is not None and operation["code"] == 4, "N applied (&N)ormal of a Face: %s" % operation)
        page.shot("normal-of-a-face")

        if grid:
            path = os.path.join(out, "grid-1m.json")
            write_grid(path, 1000)
            started = time.time()
            state = page.open_file(path)
            wall = time.time() - started
            opened = page.js("return window.workbench.timings.open")
            opened_call = page.js("return window.workbench.timings.openCall")
            check(state["objects"][0]["vertices"] == 1000000, "the 1M-vertex grid opened")
            page.shot("grid-opened")
            page.menu_pick()
            page.control("(&L)ine").click()
            wait("the dialog to close", lambda: not page.driver.find_elements(By.CSS_SELECTOR, ".dialog-window"), 120)
            page.shown()
            round_trip = page.js("return window.workbench.timings.action")
            round_trip_call = page.js("return window.workbench.timings.actionCall")
            # Reading a pixel back waits until the frame is drawn.
            render = page.js("const v = window.workbench.view, gl = v.renderer.getContext(), t = performance.now();"
                             "v.render(); gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, new Uint8Array(4));"
                             "return performance.now() - t")
            check(state is not None, "the 1M-vertex grid's pick made its round trip")
            page.shot("grid-picked")
            print("measured: the 1M-vertex grid opened in the page in %.2f s (its API call %.2f s; %.2f s until "
                  "the test saw it); the (&L)ine click's round trip %.2f s (its API call %.2f s); one frame of the "
                  "view drawn in %.2f s" % (opened / 1000, opened_call / 1000, wall, round_trip / 1000,
                                             round_trip_call / 1000, render / 1000), flush=True)
    finally:
        if page is not None:
            log = page.driver.get_log("browser")
            for entry in log:
                if entry.get("level") == "SEVERE":
                    print("browser: " + entry.get("message", ""), flush=True)
            page.driver.quit()
        status = bench.stop()
        check(status == 0, "the workbench ended cleanly on Ctrl+C")
    print("%d passed, %d failed" % (0 if failures else 1, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
