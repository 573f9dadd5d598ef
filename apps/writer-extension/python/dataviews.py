"""The UNO component of the QVUser Writer extension: the protocol handler
behind the Data Views menu (vnd.qvuser.dataviews:COMMAND)."""

import os
import sys
import threading

import unohelper
from com.sun.star.frame import XDispatch, XDispatchProvider, XNotifyingDispatch
from com.sun.star.frame import DispatchResultEvent
from com.sun.star.lang import XInitialization, XServiceInfo

# LibreOffice puts pythonpath/ beside this file on sys.path; a copy loaded
# from elsewhere (tests) finds it the same way.
_HERE = os.path.dirname(os.path.abspath(__file__))
_EXTENSION = os.path.dirname(_HERE)
if os.path.join(_EXTENSION, "pythonpath") not in sys.path:
    sys.path.append(os.path.join(_EXTENSION, "pythonpath"))

from qvwriter.commands import Commands, INSERT_DATA, MANAGER, VIEW_DATA  # noqa: E402
from qvwriter.hostlink import HostLink  # noqa: E402

PROTOCOL = "vnd.qvuser.dataviews:"
IMPLEMENTATION = "org.qvuser.writer.DataViews"
COMMANDS = (INSERT_DATA, VIEW_DATA, MANAGER)

# One host process for the whole Writer process.
_link_lock = threading.Lock()
_link = None


def _shared_link():
    global _link
    with _link_lock:
        if _link is None:
            _link = HostLink(_EXTENSION)
        return _link


class DataViewsHandler(unohelper.Base, XDispatchProvider, XNotifyingDispatch, XInitialization, XServiceInfo):
    def __init__(self, context):
        self._context = context
        self._frame = None

    # XInitialization: the frame the handler serves.
    def initialize(self, arguments):
        for argument in arguments:
            if hasattr(argument, "getController"):
                self._frame = argument

    # XDispatchProvider
    def queryDispatch(self, url, _target, _flags):
        return self if url.Protocol == PROTOCOL and url.Path in COMMANDS else None

    def queryDispatches(self, requests):
        return tuple(self.queryDispatch(r.FeatureURL, r.FrameName, r.SearchFlags) for r in requests)

    # XDispatch
    def dispatch(self, url, arguments):
        self.dispatchWithNotification(url, arguments, None)

    def dispatchWithNotification(self, url, arguments, listener):
        def finished(state, result):
            if listener is not None:
                event = DispatchResultEvent()
                event.Source = self
                event.State = state
                event.Result = result
                listener.dispatchFinished(event)

        Commands(self._context, _shared_link()).run(url.Path, self._frame, arguments, finished)

    def addStatusListener(self, _listener, _url):
        pass

    def removeStatusListener(self, _listener, _url):
        pass

    # XServiceInfo
    def getImplementationName(self):
        return IMPLEMENTATION

    def supportsService(self, name):
        return name == "com.sun.star.frame.ProtocolHandler"

    def getSupportedServiceNames(self):
        return ("com.sun.star.frame.ProtocolHandler",)


g_ImplementationHelper = unohelper.ImplementationHelper()
g_ImplementationHelper.addImplementation(DataViewsHandler, IMPLEMENTATION, ("com.sun.star.frame.ProtocolHandler",))
