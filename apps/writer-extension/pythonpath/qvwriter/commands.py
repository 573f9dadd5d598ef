"""The Data Views menu's commands: each asks the host process and, on the
answer, works on the document in Writer's own thread."""

import uno
import unohelper
from com.sun.star.awt import XCallback
from com.sun.star.awt.MessageBoxButtons import BUTTONS_OK
from com.sun.star.frame.DispatchResultState import FAILURE, SUCCESS
from com.sun.star.lang import SystemDependent

from . import memory, writing
from .hostlink import HostError, SOURCE

TITLE = "Quorivo Data Views"
ERROR_BOX = uno.Enum("com.sun.star.awt.MessageBoxType", "ERRORBOX")
INSERT_DATA, VIEW_DATA, MANAGER = "InsertData", "ViewData", "DataViewManager"


class _OnMainThread(unohelper.Base, XCallback):
    """Runs a function in Writer's main thread (the answer arrives on the
    reading thread, and documents and windows are worked on in the main one)."""

    def __init__(self, function):
        self._function = function

    def notify(self, _data):
        self._function()


def _window_id(frame):
    """The X11 id of the frame's window, so that QVUser's windows stay above
    it; 0 where Writer's windows have none (headless, Wayland)."""
    try:
        peer = frame.getContainerWindow()
        handle = peer.getWindowHandle(tuple([0] * 16), SystemDependent.SYSTEM_XWINDOW)
        return int(getattr(handle, "WindowHandle", 0) or 0)
    except Exception:  # a window without a native handle is not an error here
        return 0


def _argument(arguments, name):
    for argument in arguments or ():
        if argument.Name == name:
            return argument.Value
    return None


class Commands:
    """The commands of one Writer process, sharing one host process."""

    def __init__(self, context, link):
        self._context = context
        self._link = link

    def _service(self, name):
        return self._context.getServiceManager().createInstanceWithContext(name, self._context)

    def show_error(self, frame, description):
        try:
            toolkit = self._service("com.sun.star.awt.Toolkit")
            parent = frame.getContainerWindow() if frame is not None else None
            box = toolkit.createMessageBox(parent, ERROR_BOX, BUTTONS_OK, TITLE, description)
            box.execute()
        except Exception:  # no window to show it in: the result still carries it
            pass

    def run(self, command, frame, arguments, finished):
        """Starts the command; finished(state, result) follows once it is
        done, in the main thread, with a DispatchResultState and a text."""
        document = frame.getController().getModel() if frame is not None else None
        try:
            request = self._request(command, frame, document, arguments)
        except HostError as error:
            self.show_error(frame, error.description)
            finished(FAILURE, error.description)
            return
        window = frame.getContainerWindow()
        callback = self._service("com.sun.star.awt.AsyncCallback")

        def answered(answer, error):
            def done():
                window.setEnable(True)
                self._finish(command, frame, document, answer, error, finished)
            callback.addCallback(_OnMainThread(done), None)

        # The author works in QVUser's window meanwhile; Writer's window
        # takes no input but keeps painting.
        if not self._link.request(request, answered):
            busy = "Data Views is already showing a window. Close it first."
            self.show_error(frame, busy)
            finished(FAILURE, busy)
            return
        window.setEnable(False)

    def _request(self, command, frame, document, arguments):
        base = {"window": _window_id(frame), "hostVersion": "LibreOffice Writer"}
        named = _argument(arguments, "DataView")
        if command == INSERT_DATA:
            key = None if named else memory.last_data_view(document)
            settings, rows = memory.recall(document, key)
            request = dict(base, request="insert-data", settings=settings, selectedRowsXml=rows,
                           paragraphStyles=writing.style_names(document, "ParagraphStyles"),
                           tableStyles=writing.style_names(document, "TableStyles"))
            if named:
                request["dataView"] = {"name": named}
            else:
                # From the menu the author picks, starting on this document's last data view.
                request["picker"] = True
                if key:
                    request["dataView"] = {"key": key}
            return request
        if command == VIEW_DATA:
            request = dict(base, request="view-data", caption="View Data")
            key = memory.last_data_view(document)
            if named:
                request["dataView"] = {"name": named}
            elif key:
                request["dataView"] = {"key": key}
            return request
        if command == MANAGER:
            return dict(base, request="manager")
        raise HostError(5, SOURCE, "There is no Data Views command \"%s\"." % command)

    def _finish(self, command, frame, document, answer, error, finished):
        if error is not None:
            self.show_error(frame, error.description)
            finished(FAILURE, error.description)
            return
        if command != INSERT_DATA or answer.get("cancelled"):
            finished(SUCCESS, "cancelled" if answer.get("cancelled") else "")
            return
        try:
            written = writing.write_rows(document, frame.getController(), answer)
            memory.remember(document, answer)
        except Exception as failure:  # a UNO failure while writing: tell the author
            description = "The rows could not be written into the document: %s" % failure
            self.show_error(frame, description)
            finished(FAILURE, description)
            return
        finished(SUCCESS, "%d rows" % len(writing.rows_of(answer)[1]) if written else "no rows")
