"""Writing an Insert Data answer into a Writer document at the selection."""

# The layouts and positions of the protocol (the library's eFormatType and
# eInsertPosition).
TABLE, TABLE_WITH_HEADER, SENTENCE, PARAGRAPH, TABLE_WITH_ROW_HEADER = 1, 2, 3, 4, 5
REPLACE, BEFORE, AFTER = 0, 1, 2


def style_names(document, family):
    """The display names of the document's styles of a family that the
    author sees in Writer's lists ("ParagraphStyles", "TableStyles")."""
    styles = document.getStyleFamilies().getByName(family)
    names = []
    for name in styles.getElementNames():
        style = styles.getByName(name)
        info = style.getPropertySetInfo() if hasattr(style, "getPropertySetInfo") else None
        if info is not None and info.hasPropertyByName("IsHidden") and style.IsHidden:
            continue
        shown = style.DisplayName if info is not None and info.hasPropertyByName("DisplayName") else name
        names.append(shown or name)
    return names


def _style_by_display_name(document, family, shown):
    """The programmatic name of the style the author chose; None when the
    document has no such style (or none was chosen)."""
    if not shown:
        return None
    styles = document.getStyleFamilies().getByName(family)
    for name in styles.getElementNames():
        style = styles.getByName(name)
        info = style.getPropertySetInfo() if hasattr(style, "getPropertySetInfo") else None
        display = style.DisplayName if info is not None and info.hasPropertyByName("DisplayName") else name
        if shown in (display, name):
            return name
    return None


def rows_of(answer):
    """The column captions and the formatted rows of an answer."""
    block = answer.get("rows") or {}
    headers = [field.get("name", "") for field in block.get("fields", [])]
    rows = [["" if cell is None else str(cell) for cell in row] for row in block.get("rows", [])]
    return headers, rows


def _quoted(text):
    # A cell holding a separator is quoted so that a reader sees where it ends.
    return "\u201c%s\u201d" % text if ("," in text or ";" in text) else text


def _joined(row):
    return ", ".join(_quoted(cell) for cell in row if cell)


def insertion_point(document, controller, position):
    """A collapsed text cursor where the rows go: the selection removed
    (replace), or its start (before) or end (after)."""
    selection = controller.getSelection()
    text_range = selection.getByIndex(0) if hasattr(selection, "getByIndex") else None
    if text_range is None or not hasattr(text_range, "getText"):
        text_range = controller.getViewCursor()
    text = text_range.getText()
    cursor = text.createTextCursorByRange(text_range)
    if position == REPLACE:
        text.insertString(cursor, "", True)
    elif position == BEFORE:
        cursor.collapseToStart()
    else:
        cursor.collapseToEnd()
    return text, cursor


def _write_table(document, text, cursor, headers, rows, layout, style):
    if layout == TABLE_WITH_ROW_HEADER:
        grid = [[headers[f]] + [row[f] if f < len(row) else "" for row in rows] for f in range(len(headers))]
    elif layout == TABLE_WITH_HEADER:
        grid = [headers] + [[row[c] if c < len(row) else "" for c in range(len(headers))] for row in rows]
    else:
        grid = [[row[c] if c < len(row) else "" for c in range(len(headers))] for row in rows]
    table = document.createInstance("com.sun.star.text.TextTable")
    table.initialize(len(grid), len(grid[0]))
    text.insertTextContent(cursor, table, False)
    template = _style_by_display_name(document, "TableStyles", style)
    if template:
        table.autoFormat(template)
        table.TableTemplateName = template
    # After the style, which sets the header rows of its own.
    table.RepeatHeadline = layout == TABLE_WITH_HEADER
    table.HeaderRowCount = 1 if layout == TABLE_WITH_HEADER else 0
    # Cell by cell as text: the rows are already formatted, and a table
    # style's number format would read "41,500.00" as a number and show it anew.
    for r, cells in enumerate(grid):
        for c, cell in enumerate(cells):
            table.getCellByPosition(c, r).setString(cell)
    return table


def _write_text(document, text, cursor, rows, layout, style):
    paragraph_style = _style_by_display_name(document, "ParagraphStyles", style)
    if layout == SENTENCE:
        start = cursor.getStart()
        text.insertString(cursor, "; ".join(_joined(row) for row in rows), False)
        if paragraph_style:
            text.createTextCursorByRange(start).ParaStyleName = paragraph_style
        return
    # Paragraphs of their own: the text around them is split.
    from com.sun.star.text.ControlCharacter import PARAGRAPH_BREAK
    for index, row in enumerate(rows):
        if index > 0 or not cursor.isStartOfParagraph():
            text.insertControlCharacter(cursor, PARAGRAPH_BREAK, False)
        if paragraph_style:
            cursor.ParaStyleName = paragraph_style
        text.insertString(cursor, _joined(row), False)
    if not cursor.isEndOfParagraph():
        text.insertControlCharacter(cursor, PARAGRAPH_BREAK, False)


def write_rows(document, controller, answer):
    """Writes the answer's rows as its layout, style and position say.
    False when the answer chose no rows (nothing is written)."""
    headers, rows = rows_of(answer)
    if not headers or not rows:
        return False
    layout = answer.get("layout", TABLE_WITH_HEADER)
    style = answer.get("style", "")
    undo = document.getUndoManager()
    undo.enterUndoContext("Insert Data")
    document.lockControllers()
    try:
        text, cursor = insertion_point(document, controller, answer.get("position", AFTER))
        if layout in (TABLE, TABLE_WITH_HEADER, TABLE_WITH_ROW_HEADER):
            _write_table(document, text, cursor, headers, rows, layout, style)
        else:
            _write_text(document, text, cursor, rows, layout, style)
    finally:
        document.unlockControllers()
        undo.leaveUndoContext()
    return True
