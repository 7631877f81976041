"""A live tervolin-workbench on loopback for the tests: started in a folder
of its own, its address read from what it prints, stopped with Ctrl+C."""
import http.client
import json
import os
import re
import signal
import subprocess
import tempfile
import time

URL = re.compile(r"serving on (http://127\.0\.0\.1:(\d+)/\?token=([0-9a-f]+))")


class Workbench:
    def __init__(self, command, args=(), cwd=None):
        self.cwd = cwd or tempfile.mkdtemp(prefix="workbench-test-")
        self.log = open(self.cwd + ".log", "w+")
        self.process = subprocess.Popen(list(command) + list(args), cwd=self.cwd, stdout=self.log,
                                        stderr=subprocess.STDOUT, start_new_session=True)
        deadline = time.time() + 60
        while True:
            self.log.seek(0)
            found = URL.search(self.log.read())
            if found:
                break
            if self.process.poll() is not None or time.time() > deadline:
                text = self.output()
                self.stop()
                raise RuntimeError("the workbench did not start: " + text)
            time.sleep(0.05)
        self.url, self.port, self.token = found.group(1), int(found.group(2)), found.group(3)

    def output(self):
        with open(self.log.name) as log:
            return log.read()

    def request(self, method, path, body=None, headers=None, host=None):
        """(status, headers, body bytes) of one request, sent as given."""
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=120)
        connection.putrequest(method, path, skip_host=True, skip_accept_encoding=True)
        connection.putheader("Host", host if host is not None else "127.0.0.1:%d" % self.port)
        for name, value in (headers or {}).items():
            connection.putheader(name, value)
        data = body if isinstance(body, bytes) else (body or "").encode()
        if method == "POST":
            connection.putheader("Content-Length", str(len(data)))
        connection.endheaders(data if method == "POST" else None)
        response = connection.getresponse()
        answer = (response.status, dict(response.getheaders()), response.read())
        connection.close()
        return answer

    def call(self, op, args=None, expect=200):
        status, _, body = self.request("POST", "/api/" + op, json.dumps(args or {}),
                                       {"Content-Type": "application/json", "X-Tervolin-Token": self.token})
        answer = json.loads(body) if body[:1] == b"{" else body
        if status != expect:
            raise AssertionError("%s %s: HTTP %d, expected %d: %s" % (op, args, status, expect, body[:300]))
        return answer

    def stop(self, timeout=60):
        """Ctrl+C, then the exit status."""
        try:
            if self.process.poll() is None:
                os.killpg(self.process.pid, signal.SIGINT)
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
            raise AssertionError("the workbench did not end on Ctrl+C")
        finally:
            self.log.close()
