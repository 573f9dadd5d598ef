"""Drives a running Writer over UNO as an author would through the Data
Views menu, for writer-extension.sh.

  writer_driver.py PIPE insert  DOCUMENT LOG    new document, Insert Data, save
  writer_driver.py PIPE again   DOCUMENT LOG    reopen, Insert Data from the menu
  writer_driver.py PIPE kill    LOG             Insert Data, the host process killed
  writer_driver.py PIPE time    LOG ROUNDS      Insert Data ROUNDS times, cancelled;
                                                prints the times to the dialog
  writer_driver.py PIPE quit                    ends Writer

Each waits on answers and states with bounded timeouts; a failure exits
non-zero with FAIL and why.
"""

import json
import os
import signal
import sys
import threading
import time

import uno
import unohelper
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException
from com.sun.star.frame import XDispatchResultListener
from com.sun.star.frame.DispatchResultState import FAILURE, SUCCESS

TIMEOUT = 120
TABLE_STYLE = "Academic"
PROTOCOL = "vnd.qvuser.dataviews:"


def fail(why):
    print("FAIL: " + why, file=sys.stderr)
    sys.exit(1)


def wait_until(condition, what, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            fail("timed out waiting for " + what)
        time.sleep(0.1)


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


def connect(pipe):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    url = "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe
    context = None

    def reached():
        nonlocal context
        try:
            context = resolver.resolve(url)
        except NoConnectException:
            return False
        return True

    wait_until(reached, "Writer to accept the connection")
    return context


class Result(unohelper.Base, XDispatchResultListener):
    def __init__(self):
        self.done = threading.Event()
        self.state = None
        self.value = None

    def dispatchFinished(self, event):
        self.state, self.value = event.State, event.Result
        self.done.set()

    def disposing(self, _source):
        pass


def dispatch(context, frame, command, arguments=()):
    """Runs a Data Views command as its menu item does; answers the listener."""
    smgr = context.ServiceManager
    transformer = smgr.createInstanceWithContext("com.sun.star.util.URLTransformer", context)
    url = uno.createUnoStruct("com.sun.star.util.URL")
    url.Complete = PROTOCOL + command
    _, url = transformer.parseStrict(url)
    target = frame.queryDispatch(url, "_self", 0)
    if target is None:
        fail("Writer has no Data Views command %s: the extension is not installed" % command)
    result = Result()
    target.dispatchWithNotification(url, tuple(arguments), result)
    return result


def finished(result, what):
    if not result.done.wait(TIMEOUT):
        fail(what + " did not finish")
    return result


def desktop_of(context):
    return context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)


def load(context, url):
    document = desktop_of(context).loadComponentFromURL(url, "_blank", 0, (prop("Hidden", True),))
    if document is None:
        fail("Writer did not open " + url)
    return document


def logged(log):
    if not os.path.exists(log):
        return []
    with open(log, encoding="utf-8") as f:
        return [json.loads(line) for line in f if line.strip()]


MENU = [("Insert Data...", PROTOCOL + "InsertData"), ("View Data...", PROTOCOL + "ViewData"),
        ("Data View Manager...", PROTOCOL + "DataViewManager")]


def check_menu(context):
    """Writer's configuration holds the "Data Views" menu with its three commands."""
    provider = context.ServiceManager.createInstanceWithContext(
        "com.sun.star.configuration.ConfigurationProvider", context)
    menus = provider.createInstanceWithArguments(
        "com.sun.star.configuration.ConfigurationAccess",
        (prop("nodepath", "/org.openoffice.Office.Addons/AddonUI/OfficeMenuBar"),))
    found = [menus.getByName(name) for name in menus.getElementNames() if menus.getByName(name).Title == "Data Views"]
    if len(found) != 1:
        fail("Writer has %d \"Data Views\" menus, not one" % len(found))
    submenu = found[0].Submenu
    items = [(submenu.getByName(n).Title, submenu.getByName(n).URL) for n in sorted(submenu.getElementNames())]
    if items != MENU:
        fail("the Data Views menu holds %s, not %s" % (items, MENU))


def insert(context, document_path, log):
    check_menu(context)
    document = load(context, "private:factory/swriter")
    text = document.getText()
    text.setString("Our three customers:")
    controller = document.getCurrentController()
    controller.select(text.createTextCursorByRange(text))  # the sentence is selected; rows go after it
    result = finished(dispatch(context, controller.getFrame(), "InsertData",
                               [prop("DataView", "Sample Customers")]), "Insert Data")
    if result.state != SUCCESS:
        fail("Insert Data answered %s: %s" % (result.state, result.value))
    if text.getString().find("Our three customers:") != 0:
        fail("the selected sentence did not stay before the rows")
    document.storeToURL(uno.systemPathToFileUrl(document_path), (prop("FilterName", "writer8"),))
    document.close(True)
    lines = logged(log)
    print(json.dumps({"result": result.value, "dialog": lines[-1] if lines else None}))


def again(context, document_path, log):
    document = load(context, uno.systemPathToFileUrl(document_path))
    controller = document.getCurrentController()
    end = document.getText().createTextCursor()
    end.gotoEnd(False)
    controller.select(end)
    result = finished(dispatch(context, controller.getFrame(), "InsertData"), "Insert Data again")
    if result.state != SUCCESS:
        fail("Insert Data again answered %s: %s" % (result.state, result.value))
    tables = document.getTextTables()
    if tables.getCount() != 2:
        fail("the reopened document holds %d tables after Insert Data, not 2" % tables.getCount())
    first, second = (tables.getByIndex(i).getDataArray() for i in range(2))
    if first != second:
        fail("the second Insert Data wrote other rows: %s, not %s" % (second, first))
    print(json.dumps({"result": result.value, "dialog": logged(log)[-1]}))
    document.close(True)


def kill(context, log):
    document = load(context, "private:factory/swriter")
    text = document.getText()
    text.setString("Nothing may change here.")
    document.setModified(False)
    controller = document.getCurrentController()
    frame = controller.getFrame()
    result = dispatch(context, frame, "InsertData", [prop("DataView", "Sample Customers")])
    wait_until(lambda: logged(log), "the Insert Data dialog")
    os.kill(logged(log)[-1]["pid"], signal.SIGKILL)
    finished(result, "Insert Data with its host process killed")
    if result.state != FAILURE or "ended" not in str(result.value):
        fail("Writer answered %s (%s), not the error of a host process that ended" % (result.state, result.value))
    if text.getString() != "Nothing may change here." or document.getTextTables().getCount() != 0:
        fail("the document changed: %r" % text.getString())
    if document.isModified():
        fail("the document is marked as changed")
    if not frame.getContainerWindow().isEnabled():
        fail("Writer's window stayed disabled")
    print(json.dumps({"result": result.value}))
    document.close(True)


def timing(context, log, rounds):
    """The time from the menu command to the dialog on screen and to its rows
    shown: the first with the host process started for it, then running."""
    document = load(context, "private:factory/swriter")
    frame = document.getCurrentController().getFrame()
    for attempt in range(rounds):
        asked = time.time() * 1000.0
        result = finished(dispatch(context, frame, "InsertData", [prop("DataView", "Sample Customers")]),
                          "Insert Data")
        if result.value != "cancelled":
            fail("the timed Insert Data answered %s" % result.value)
        line = logged(log)[-1]
        print(json.dumps({"host": "started" if attempt == 0 else "running",
                          "dialog_ms": round(line["shownAt"] - asked), "rows_ms": round(line["rowsAt"] - asked)}))
    document.close(True)


def main():
    pipe, mode = sys.argv[1], sys.argv[2]
    context = connect(pipe)
    if mode == "insert":
        insert(context, sys.argv[3], sys.argv[4])
    elif mode == "again":
        again(context, sys.argv[3], sys.argv[4])
    elif mode == "kill":
        kill(context, sys.argv[3])
    elif mode == "time":
        timing(context, sys.argv[3], int(sys.argv[4]))
    elif mode == "quit":
        try:
            desktop_of(context).terminate()
        except Exception:  # the bridge goes down with Writer: that is the answer
            pass
    else:
        fail("unknown mode " + mode)


if __name__ == "__main__":
    main()
