"""What a document keeps of its Insert Data requests, in its own
user-defined properties, so that it travels with the file: per data view the
settings and selected-rows XML of the last insert, and which data view that was."""

import json

from com.sun.star.beans.PropertyAttribute import REMOVEABLE

LAST_DATA_VIEW = "QVUser last data view"
SETTINGS = "QVUser settings "
ROWS = "QVUser rows "


def _properties(document):
    return document.getDocumentProperties().getUserDefinedProperties()


def _read(document, name):
    properties = _properties(document)
    if not properties.getPropertySetInfo().hasPropertyByName(name):
        return None
    return properties.getPropertyValue(name)


def _write(document, name, value):
    properties = _properties(document)
    if properties.getPropertySetInfo().hasPropertyByName(name):
        properties.setPropertyValue(name, value)
    else:
        properties.addProperty(name, REMOVEABLE, value)


def last_data_view(document):
    """The text key of the data view this document inserted from last; None before any."""
    return _read(document, LAST_DATA_VIEW) or None


def recall(document, key):
    """The settings (a dict, or None) and selected-rows XML ("" when none)
    this document keeps for the data view."""
    if not key:
        return None, ""
    settings = _read(document, SETTINGS + key)
    try:
        settings = json.loads(settings) if settings else None
    except ValueError:
        settings = None  # edited by hand: the data view's own settings then apply
    return settings, _read(document, ROWS + key) or ""


def remember(document, answer):
    """Keeps what an Insert Data answer returned for its data view."""
    view = answer.get("dataView") or {}
    key = view.get("key")
    if not key:
        return
    _write(document, SETTINGS + key, json.dumps(answer.get("settings") or {}))
    _write(document, ROWS + key, answer.get("selectedRowsXml") or "")
    _write(document, LAST_DATA_VIEW, key)
