"""The link to the QVUser host process: found, started once, kept.

The process speaks JSON lines on its standard input and output
(docs/host-process.md). One request is out at a time; the answer is read on
a thread of its own so that Writer's own event loop keeps running while the
author works in a QVUser window.
"""

import json
import os
import shutil
import subprocess
import threading

# Where `cmake --install` (with the prefix the README names) and the Debian
# packages put the host process; PATH is asked first.
INSTALLED_PLACES = ("/usr/bin/qvhostd", "/usr/local/bin/qvhostd", "/opt/qvuser/bin/qvhostd")
OVERRIDE_VARIABLE = "QVUSER_HOSTD"
SOURCE = "QVUSER.Writer"


class HostError(Exception):
    """A failure as the protocol answers it: number, source, description."""

    def __init__(self, number, source, description):
        super().__init__(description)
        self.number = number
        self.source = source
        self.description = description


def find_host(extension_folder):
    """The host process to start: the override, beside the extension, on
    PATH, then the installed places; None when there is none."""
    override = os.environ.get(OVERRIDE_VARIABLE)
    if override:
        return override if os.access(override, os.X_OK) else None
    beside = os.path.join(extension_folder, "qvhostd") if extension_folder else None
    candidates = [beside, shutil.which("qvhostd")] + list(INSTALLED_PLACES)
    for path in candidates:
        if path and os.path.isfile(path) and os.access(path, os.X_OK):
            return path
    return None


class HostLink:
    """One host process for the Writer process, started on first need and
    started again when it has gone."""

    def __init__(self, extension_folder):
        self._folder = extension_folder
        self._process = None
        self._lock = threading.Lock()
        self._busy = False
        self._next_id = 0

    @property
    def busy(self):
        return self._busy

    def _ensure_process(self):
        if self._process is not None and self._process.poll() is None:
            return self._process
        path = find_host(self._folder)
        if path is None:
            raise HostError(53, SOURCE, "The QVUser host process (qvhostd) was not found. "
                            "Install QVUser, or set %s to its path." % OVERRIDE_VARIABLE)
        try:
            self._process = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                             close_fds=True)
        except OSError as error:
            raise HostError(53, SOURCE, "The QVUser host process %s could not be started: %s"
                            % (path, error.strerror)) from error
        return self._process

    def request(self, request, answered):
        """Sends the request and calls answered(answer, error) on the reading
        thread once the answer or the process's end arrives. False when a
        request is already out (one at a time)."""
        with self._lock:
            if self._busy:
                return False
            self._busy = True
            self._next_id += 1
            request = dict(request, id=self._next_id)
        threading.Thread(target=self._exchange, args=(request, answered), daemon=True).start()
        return True

    def _exchange(self, request, answered):
        answer, error = None, None
        try:
            answer = self.exchange(request)
        except HostError as failure:
            error = failure
        finally:
            with self._lock:
                self._busy = False
        answered(answer, error)

    def exchange(self, request):
        """Sends one request and waits for its answer; raises HostError for an
        error answer and for a process that ended or cannot be reached."""
        process = self._ensure_process()
        try:
            process.stdin.write((json.dumps(request) + "\n").encode("utf-8"))
            process.stdin.flush()
            line = process.stdout.readline()
        except (OSError, ValueError):
            line = b""
        if not line:
            process.wait()
            raise HostError(440, SOURCE, "The QVUser host process ended while it served the request "
                            "(exit status %s). The document was not changed." % process.returncode)
        try:
            answer = json.loads(line.decode("utf-8"))
        except ValueError as error:
            raise HostError(13, SOURCE, "The QVUser host process answered something that is not "
                            "JSON: %s" % error) from error
        if not answer.get("ok"):
            failure = answer.get("error") or {}
            raise HostError(failure.get("number", 5), failure.get("source", SOURCE),
                            failure.get("description", "The request failed."))
        return answer

    def pid(self):
        return self._process.pid if self._process is not None and self._process.poll() is None else None

    def close(self):
        """Ends the process: the end of its input closes its windows."""
        if self._process is None:
            return
        try:
            self._process.stdin.close()
            self._process.wait(timeout=10)
        except (OSError, subprocess.TimeoutExpired):
            self._process.kill()
            self._process.wait()
        self._process = None
