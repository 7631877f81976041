"""The workbench's API against a live workbench on loopback: a pick made and
undone as a person makes it in the page, the clipboard shared with the
plug-in, and every refusal of a request that is not the page's own.

    workbench_api_test.py WORKBENCH SCENES_DIR [wrapper...]
"""
import json
import os
import socket
import struct
import sys
import unittest

from workbench_process import Workbench

COMMAND = []
SCENES = ""
IDENTITY = [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1]


def scene_text(name):
    with open(os.path.join(SCENES, name)) as file:
        return file.read()


def close_to(a, b):
    return all(abs(x - y) < 1e-5 for x, y in zip(a, b)) and len(a) == len(b)


class WorkbenchTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.bench = Workbench(COMMAND, ["--upload-limit", "1"])

    @classmethod
    def tearDownClass(cls):
        status = cls.bench.stop()
        assert status == 0, "exit status %d: %s" % (status, cls.bench.output())

    def open(self, name):
        return self.bench.call("open", {"name": name, "text": scene_text(name)})


class PickTest(WorkbenchTest):
    def test_line_pick_then_undo_and_redo(self):
        state = self.open("edge-loop.json")
        self.assertEqual(state["objects"][0]["name"], "Ring")
        # The edge from vertex 0 to vertex 4, as a click in the view selects it.
        state = self.bench.call("select", {"object": 0, "lines": [[0, 3]]})
        self.assertEqual(state["objects"][0]["selectedLines"], 1)
        state = self.bench.call("pick")
        self.assertTrue(state["dialog"]["open"])
        self.assertEqual(state["dialog"]["tree"]["caption"], "Tervolin")
        # Document changes wait while the dialog is open.
        self.assertIn("dialog is open", self.bench.call("undo", expect=409)["error"])
        self.bench.call("select", {"object": 0}, expect=409)
        state = self.bench.call("click", {"caption": "(&L)ine"})
        self.assertFalse(state["dialog"]["open"])
        self.assertIsNone(state["ignored"])
        frame = state["objects"][0]["frame"]
        self.assertTrue(close_to(frame[:8], [0.70711, -0.70711, 0, 0, 0.70711, 0.70711, 0, 0]), frame)
        report = state["report"]["json"]
        self.assertEqual(report["operation"]["caption"], "(&L)ine")
        self.assertEqual(report["protocolErrors"], [])
        self.assertTrue(close_to(state["ghosts"][0]["frame"], IDENTITY))
        # The saved scene holds the new frame, through the host's writer.
        saved = json.loads(self.bench.call("save")["text"])
        self.assertTrue(close_to(saved["objects"][0]["frame"], frame))
        state = self.bench.call("undo")
        self.assertTrue(close_to(state["objects"][0]["frame"], IDENTITY))
        self.assertEqual((state["undo"], state["redo"]), (0, 1))
        state = self.bench.call("redo")
        self.assertTrue(close_to(state["objects"][0]["frame"], frame))
        self.bench.call("redo", expect=409)

    def test_disabled_button_is_ignored_and_the_dialog_stays(self):
        self.open("edge-loop.json")
        self.bench.call("pick")
        state = self.bench.call("click", {"caption": "(&N)ormal of a Face"})
        self.assertTrue(state["dialog"]["open"])
        self.assertIn("disabled", state["ignored"])
        state = self.bench.call("close")
        self.assertFalse(state["dialog"]["open"])
        self.assertIsNone(state["report"]["json"]["operation"])
        self.assertTrue(close_to(state["objects"][0]["frame"], IDENTITY))
        self.assertEqual(state["undo"], 0)

    def test_key_applies_normal_of_a_selected_face(self):
        self.open("wedge.json")
        self.bench.call("pick")
        state = self.bench.call("key", {"key": "N"})
        self.assertFalse(state["dialog"]["open"])
        self.assertEqual(state["report"]["json"]["operation"]["code"], 4)
        self.bench.call("pick")
        self.bench.call("key", {"key": "F1"}, expect=400)
        self.bench.call("click", {"caption": "Cancel"})

    def test_mesh_arrays_hold_the_geometry_and_selection(self):
        self.open("edge-loop.json")
        self.bench.call("select", {"object": 0, "vertices": [4, 4, 5], "faces": [2]})
        self.bench.call("select", {"object": 0, "vertices": [5, 6], "add": True})
        data = self.bench.call("mesh", {"object": 0})
        counts = struct.unpack_from("<6I", data)
        self.assertEqual(counts, (8, 4, 16, 3, 0, 1))
        at = 24 + 4 * (3 * 8 + 5 + 16)
        self.assertEqual(struct.unpack_from("<4I", data, at), (4, 5, 6, 2))
        self.assertEqual(struct.unpack_from("<3f", data, 24 + 12 * 4), (1.0, 1.0, 0.0))

    def test_selections_outside_the_object_are_refused(self):
        self.open("edge-loop.json")
        for args in ({"object": 0, "vertices": [8]}, {"object": 0, "faces": [-1]},
                     {"object": 0, "lines": [[0, 4]]}, {"object": 0, "lines": [[1]]}, {"object": 3},
                     {"object": "0"}, {"object": 0, "vertices": "1"}):
            self.assertIn("error", self.bench.call("select", args, expect=422))
        self.assertEqual(self.bench.call("state")["objects"][0]["selectedLines"], 1)

    def test_clipboard_is_shared_with_the_plug_in(self):
        self.open("copy-targets.json")
        self.bench.call("pick")
        state = self.bench.call("key", {"key": "ctrl+C"})
        copied = state["clipboard"]["text"]
        self.assertEqual(len(copied.split(",")), 16)
        self.bench.call("clipboard", {"text": "1,0,0,0,0,1,0,0,0,0,1,0,2,3,4,1"})
        self.bench.call("pick")
        self.bench.call("click", {"caption": "(&T)rans"})
        state = self.bench.call("key", {"key": "ctrl+V"})
        current = state["objects"][state["current"]]
        self.assertTrue(close_to(current["frame"][12:15], [2, 3, 4]), current["frame"])
        self.bench.call("clipboard", {"text": "a\u0000b"}, expect=422)

    def test_current_and_selected_objects_go_into_the_document(self):
        state = self.open("copy-targets.json")
        names = [o["name"] for o in state["objects"]]
        state = self.bench.call("current", {"object": 2})
        state = self.bench.call("select_objects", {"objects": [1, 3]})
        self.assertEqual(state["current"], 2)
        self.assertEqual([o["selected"] for o in state["objects"]], [False, True, False, True])
        saved = json.loads(self.bench.call("save")["text"])
        self.assertIn(saved["currentObject"], (2, names[2]))
        self.assertEqual([o["selected"] for o in saved["objects"]], [False, True, False, True])
        self.bench.call("select_objects", {"objects": [1, 9]}, expect=422)
        self.bench.call("current", {"object": -1})
        self.assertIn("no current object", self.bench.call("pick", expect=409)["error"])

    def test_bad_scenes_are_refused_and_the_old_one_stays(self):
        self.open("edge-loop.json")
        for args in ({"name": "x.json", "text": "{"}, {"name": "x.obj", "text": "v 1 2\nf 1 2 3\n"},
                     {"name": "../x.json", "text": scene_text("wedge.json")}, {"name": "x.json"}):
            status = 422 if "text" in args else 400
            self.assertIn("error", self.bench.call("open", args, expect=status))
        self.assertEqual(self.bench.call("state")["scene"], "edge-loop.json")
        state = self.bench.call("open", {"name": "tri.obj", "text": "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"})
        self.assertEqual(state["objects"][0]["vertices"], 3)
        # The file itself, as the page sends it: the same scene, or the same
        # refusal, with its name in the address.
        octets = {"Content-Type": "application/octet-stream", "X-Tervolin-Token": self.bench.token}
        status, _, answer = self.bench.request("POST", "/api/open?name=wedge%20copy.json",
                                               scene_text("wedge.json"), octets)
        self.assertEqual(status, 200, answer[:300])
        self.assertEqual(json.loads(answer)["scene"], "wedge copy.json")
        status, _, answer = self.bench.request("POST", "/api/open?name=x.obj", "v 1 2\nf 1 2 3\n", octets)
        self.assertEqual(status, 422, answer[:300])
        status, _, answer = self.bench.request("POST", "/api/open", scene_text("wedge.json"), octets)
        self.assertEqual(status, 400, answer[:300])
        self.assertIn(b"?name=", answer)
        self.assertEqual(self.bench.call("state")["scene"], "wedge copy.json")


class RefusalTest(WorkbenchTest):
    def api(self, op="state", body="{}", headers=None, host=None, method="POST"):
        given = {"Content-Type": "application/json", "X-Tervolin-Token": self.bench.token}
        given.update(headers or {})
        given = {name: value for name, value in given.items() if value is not None}
        status, _, answer = self.bench.request(method, "/api/" + op, body, given, host)
        return status, json.loads(answer).get("error", "") if answer[:1] == b"{" else answer

    def test_requests_not_from_the_page_are_refused_with_a_reason(self):
        port = self.bench.port
        cases = [
            ("foreign Host", dict(host="attacker.example:%d" % port), 403, "Host"),
            ("Host on another port", dict(host="127.0.0.1:1"), 403, "Host"),
            ("no token", dict(headers={"X-Tervolin-Token": None}), 403, "token"),
            ("wrong token", dict(headers={"X-Tervolin-Token": "0" * 32}), 403, "token"),
            ("token prefix", dict(headers={"X-Tervolin-Token": self.bench.token[:-1]}), 403, "token"),
            ("form post", dict(headers={"Content-Type": "application/x-www-form-urlencoded"}, body="a=1"), 415,
             "JSON"),
            ("plain text", dict(headers={"Content-Type": "text/plain"}), 415, "JSON"),
            ("a file to a call that takes none", dict(headers={"Content-Type": "application/octet-stream"}), 415,
             "JSON"),
            ("GET", dict(method="GET"), 405, "POST"),
            ("malformed JSON", dict(body="{\"a\":"), 400, "JSON"),
            ("JSON not an object", dict(body="[1]"), 400, "JSON"),
            ("unknown call", dict(op="nosuch"), 404, "nosuch"),
            ("wrong argument type", dict(op="current", body="{\"object\": \"x\"}"), 400, "malformed"),
        ]
        for name, args, status, reason in cases:
            with self.subTest(name):
                got, why = self.api(**args)
                self.assertEqual(got, status, why)
                self.assertIn(reason, why)
        # localhost names the same place and is served.
        self.assertEqual(self.api(host="localhost:%d" % port)[0], 200)

    def test_only_the_pages_own_files_are_served(self):
        for path in ("/../../etc/passwd", "/%2e%2e/%2e%2e/etc/passwd", "/three/../../../../etc/passwd",
                     "/app.js/../../../etc/passwd", "/CMakeLists.txt", "/three/build/three.js"):
            with self.subTest(path):
                status, _, body = self.bench.request("GET", path)
                self.assertEqual(status, 404, body[:200])
                self.assertNotIn(b"root:", body)
        status, headers, body = self.bench.request("GET", "/")
        self.assertEqual(status, 200)
        self.assertIn(b"Tervolin workbench", body)
        self.assertEqual(headers.get("X-Content-Type-Options"), "nosniff")
        self.assertEqual(self.bench.request("GET", "/three/build/three.module.js")[0], 200)
        self.assertEqual(self.bench.request("GET", "/", host="evil.example")[0], 403)

    def test_uploads_over_the_limit_are_refused_and_the_session_goes_on(self):
        self.open("edge-loop.json")
        big = json.dumps({"name": "big.json", "text": " " * (1 << 20)})
        status, why = self.api(op="open", body=big)
        self.assertEqual(status, 413)
        self.assertIn("larger", why)
        state = self.bench.call("state")
        self.assertEqual(state["scene"], "edge-loop.json")

    def test_listens_on_127_0_0_1_only(self):
        with socket.socket() as other:
            other.settimeout(5)
            self.assertNotEqual(other.connect_ex(("127.0.0.2", self.bench.port)), 0)


class StopTest(unittest.TestCase):
    def test_ctrl_c_with_the_dialog_open_ends_cleanly_and_writes_nothing(self):
        bench = Workbench(COMMAND, [os.path.join(SCENES, "edge-loop.json")])
        bench.call("pick")
        bench.call("save")
        before = sorted(os.listdir(bench.cwd))
        self.assertEqual(bench.stop(), 0, bench.output())
        self.assertIn("stopped", bench.output())
        self.assertEqual(sorted(os.listdir(bench.cwd)), before)
        self.assertEqual(before, [])

    def test_a_taken_port_is_refused(self):
        with socket.socket() as holder:
            holder.bind(("127.0.0.1", 0))
            holder.listen(1)
            port = holder.getsockname()[1]
            with self.assertRaises(RuntimeError) as caught:
                Workbench(COMMAND, ["--port", str(port)])
            self.assertIn("port %d" % port, str(caught.exception))


if __name__ == "__main__":
    COMMAND = sys.argv[3:] + [sys.argv[1]]
    SCENES = sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
