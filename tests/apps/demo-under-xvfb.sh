#!/usr/bin/env bash
# demo-under-xvfb.sh QVDEMO SAMPLES_FOLDER BUILD_FOLDER
#
# Runs the demo editor on a virtual X display: Insert Data on the sample
# customers with three rows ticked and a table with header, saved as ODF.
# Then checks that the document's one table holds the dialog's captions and
# exactly the three ticked rows, in that order, and that the next Insert Data
# on that data view comes up with the same rows ticked. The picture of the
# dialog is left in BUILD_FOLDER/insert-data-dialog.png. Then View Data on
# the same data view, as a preview of 5 rows and in full. Last the Data
# View Manager from the Data menu, pictured in BUILD_FOLDER/data-view-manager.png.
set -euo pipefail

qvdemo="${1:?usage: demo-under-xvfb.sh QVDEMO SAMPLES_FOLDER BUILD_FOLDER}"
samples="${2:?samples folder}"
build="${3:?build folder}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The run's registry, settings and data folders are its own.
export QV_REGISTRY_ROOT="$work/registry" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$QV_REGISTRY_ROOT" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# ctest runs under the offscreen platform; this run wants a real X server.
export QT_QPA_PLATFORM=xcb

document="$work/customers.odt"
picture="$build/insert-data-dialog.png"
rm -f "$picture"
if ! xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$qvdemo" --samples "$samples" --script insert-three-rows "$document" "$picture" >"$work/shown.txt"; then
  echo "FAIL: the scripted run of the demo editor failed" >&2
  exit 1
fi
[ -s "$picture" ] || { echo "FAIL: no picture of the dialog at $picture" >&2; exit 1; }

python3 - "$document" "$work/shown.txt" <<'PY'
import sys, zipfile
import xml.etree.ElementTree as ET

TABLE = "{urn:oasis:names:tc:opendocument:xmlns:table:1.0}"
TEXT = "{urn:oasis:names:tc:opendocument:xmlns:text:1.0}"
document, shown = sys.argv[1], sys.argv[2]
lines = [l.rstrip("\n").split("\t") for l in open(shown, encoding="utf-8") if l.strip()]
expected = [l[1:] for l in lines if l[0] in ("header", "row")]
if len(expected) != 4 or lines[0][0] != "header":
    sys.exit("FAIL: the run printed %d captions and rows, not a header and three rows" % len(expected))

root = ET.fromstring(zipfile.ZipFile(document).read("content.xml"))
tables = list(root.iter(TABLE + "table"))
if len(tables) != 1:
    sys.exit("FAIL: the document holds %d tables, not one" % len(tables))

def cell_text(cell):
    # The writer indents its XML; a cell's text is that of its paragraphs.
    return "\n".join("".join(p.itertext()).strip() for p in cell.iter(TEXT + "p"))

rows = [[cell_text(cell) for cell in row.iter(TABLE + "table-cell")] for row in tables[0].iter(TABLE + "table-row")]
if rows != expected:
    sys.exit("FAIL: the table holds\n  %r\nbut the dialog showed\n  %r" % (rows, expected))
again = [l[1:] for l in lines if l[0] == "ticked-again"]
if again != [["1", "2", "3"]]:
    sys.exit("FAIL: the next Insert Data came up with rows %r ticked, not 1, 2 and 3" % again)
print("the document holds the header %r and the three ticked rows, and they came up ticked again" % (rows[0],))
PY

# How many customers the sample database holds, asked of the database itself.
customers="$(python3 -c 'import sqlite3, sys; print(sqlite3.connect(sys.argv[1]).execute("SELECT COUNT(*) FROM Customers").fetchone()[0])' "$samples/Sample Sales.sqlite")"

# View Data: a preview shows 5 rows under the caption "Preview", the full view all of them.
view_data() {
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$qvdemo" --samples "$samples" --script view-data "$1" "$build/view-data-$1.png" >"$work/view-$1.txt"
}
view_data 5 || { echo "FAIL: the scripted preview failed" >&2; exit 1; }
view_data 0 || { echo "FAIL: the scripted full view failed" >&2; exit 1; }
expect_line() {
  grep -qxF "$2" "$work/view-$1.txt" || {
    echo "FAIL: View Data $1 printed" >&2; cat "$work/view-$1.txt" >&2
    echo "but not: $2" >&2; exit 1
  }
}
expect_line 5 "$(printf 'caption\tPreview - Sample Customers')"
expect_line 5 "$(printf 'shown\t5')"
expect_line 0 "$(printf 'caption\tView Data - Sample Customers')"
expect_line 0 "$(printf 'shown\t%s' "$customers")"
echo "View Data showed 5 rows as a preview and all $customers in full"

# The Data menu opens the Data View Manager on the samples: the personal root,
# its "Data Views" folder, and the sample data views in the list. Its picture
# is left in BUILD_FOLDER/data-view-manager.png.
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$qvdemo" --samples "$samples" --script manager "$build/data-view-manager.png" >"$work/view-manager.txt" ||
  { echo "FAIL: the scripted Data View Manager failed" >&2; exit 1; }
expect_line manager "$(printf 'caption\tQuorivo Data View Manager')"
expect_line manager "$(printf 'node\tData Views')"
expect_line manager "$(printf 'item\tSample Customers')"
[ -s "$build/data-view-manager.png" ] || { echo "FAIL: no picture of the manager" >&2; exit 1; }
echo "the Data View Manager opened on the samples"

# The Data menu's Configuration File wizard makes a team file, step by step
# (pictures in BUILD_FOLDER/config-wizard/), and the manager then shows it
# as the team configuration.
mkdir -p "$work/team"
team_file="$work/team/Demo Team.cfg"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$qvdemo" --samples "$samples" --script config-wizard "$team_file" "$build/config-wizard" >"$work/view-config.txt" ||
  { echo "FAIL: the scripted Configuration File wizard failed; it printed:" >&2; cat "$work/view-config.txt" >&2; exit 1; }
for step in 1 2 3 4; do
  expect_line config "$(printf 'step\t%s' "$step")"
  [ -s "$build/config-wizard/config-wizard-step-$step.png" ] || { echo "FAIL: no picture of step $step" >&2; exit 1; }
done
expect_line config "$(printf 'team\t%s' "$team_file")"
expect_line config "$(printf 'node\tTeam')"
grep -q 'name="Demo Team"' "$team_file" || { echo "FAIL: the team file was not written as named" >&2; exit 1; }
[ -s "$build/config-wizard/config-wizard-manager.png" ] || { echo "FAIL: no picture of the manager on the team file" >&2; exit 1; }
echo "the Configuration File wizard made the team file the manager shows"

# The author's road, in a registry and folders of its own: the price list's
# workbook has moved and is located from the error; "Riga" filters with Enter,
# Remove shows every customer, "Leeds" replaces it; one insert in each layout.
road="$work/road"
mkdir -p "$road/samples" "$road/moved" "$road/registry" "$road/config" "$build/author-road"
(cd "$samples" && cp -r ./*.cfg ./*.sqlite ./*.xlsx ./*.html ./*.xml ./*.dsn "Sample Contacts" "Sample Tasks" "$road/samples/")
python3 - "$samples" "$road/samples" <<'PY'
import pathlib, sys
old, new = sys.argv[1], sys.argv[2]
for name in ("qvDataView Sample.cfg", "Sample Sales.dsn"):
    path = pathlib.Path(new, name)
    path.write_text(path.read_text(encoding="utf-8").replace(old, new), encoding="utf-8")
PY
mv "$road/samples/Sample Price List.xlsx" "$road/moved/"
if ! QV_REGISTRY_ROOT="$road/registry" XDG_CONFIG_HOME="$road/config" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$qvdemo" --samples "$road/samples" --script author-road "$road/road.odt" "$build/author-road" \
    "$road/moved/Sample Price List.xlsx" >"$road/steps.txt"; then
  echo "FAIL: the author's road stopped; it printed:" >&2; cat "$road/steps.txt" >&2
  exit 1
fi
python3 - "$road" "$samples/Sample Sales.sqlite" <<'PY'
import sqlite3, sys, zipfile
import xml.etree.ElementTree as ET

road, database = sys.argv[1], sys.argv[2]
steps = {}
inserted = []
for line in open(road + "/steps.txt", encoding="utf-8"):
    parts = line.rstrip("\n").split("\t")
    if parts[0] == "inserted":
        inserted.append(parts[1])
    else:
        steps[parts[0]] = int(parts[1])
db = sqlite3.connect(database)
count = lambda where: db.execute("SELECT COUNT(*) FROM Customers " + where).fetchone()[0]
want = {"filtered": count("WHERE upper(City) = 'RIGA'"), "unfiltered": count(""),
        "replaced": count("WHERE upper(City) = 'LEEDS'")}
for step, rows in want.items():
    if steps.get(step) != rows:
        sys.exit("FAIL: after '%s' Insert Data showed %r rows, the database has %d" % (step, steps.get(step), rows))
if steps.get("located", 0) < 1:
    sys.exit("FAIL: the located workbook showed no rows")
if len(set(inserted)) != 5:
    sys.exit("FAIL: inserts in %r, not in each of the five layouts" % inserted)
if "moved/Sample Price List.xlsx" not in open(road + "/samples/qvDataView Sample.cfg", encoding="utf-8").read():
    sys.exit("FAIL: the workbook's new place was not saved in the configuration")
TABLE = "{urn:oasis:names:tc:opendocument:xmlns:table:1.0}"
content = ET.fromstring(zipfile.ZipFile(road + "/road.odt").read("content.xml"))
tables = len(list(content.iter(TABLE + "table")))
if tables != 3:
    sys.exit("FAIL: the document holds %d tables, not the three of the table layouts" % tables)
text = "".join(content.itertext())
if text.count("LEEDS") < 10:
    sys.exit("FAIL: the five inserts of two Leeds customers each are not all in the document")
print("the author's road: workbook located, filters %d/%d/%d rows, five layouts inserted"
      % (steps["filtered"], steps["unfiltered"], steps["replaced"]))
PY

# A data view made through the Data View Wizard from the Data menu, over the
# sample price list's workbook with all its fields, then inserted: a picture
# of each page is left in BUILD_FOLDER/data-view-wizard/.
# The new data view goes into a copy of the samples' configuration.
wizard="$work/wizard"
mkdir -p "$wizard/registry" "$wizard/config" "$wizard/samples" "$build/data-view-wizard"
cp "$samples/qvDataView Sample.cfg" "$samples/Sample Price List.xlsx" "$wizard/samples/"
rm -f "$build/data-view-wizard"/*.png
if ! QV_REGISTRY_ROOT="$wizard/registry" XDG_CONFIG_HOME="$wizard/config" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$qvdemo" --samples "$wizard/samples" --script wizard-road "$build/data-view-wizard" \
    "$wizard/samples/Sample Price List.xlsx" \
    >"$work/view-wizard.txt"; then
  echo "FAIL: the wizard's road stopped; it printed:" >&2; cat "$work/view-wizard.txt" >&2
  exit 1
fi
expect_line wizard "$(printf 'saved\tPrice List from the wizard\t7')"
grep -q "^rows	[1-9]" "$work/view-wizard.txt" || { echo "FAIL: the new data view inserted no rows" >&2; exit 1; }
pages=$(ls "$build/data-view-wizard"/wizard-*.png | wc -l)
[ "$pages" -eq 8 ] || { echo "FAIL: $pages pictures of the wizard's pages, not 8" >&2; exit 1; }
echo "the Data View Wizard made a data view of the price list, then inserted it"

# Smart tags: a smart tag over the sample customers' names is saved into a
# copy of the samples' configuration while the editor runs; a customer's name
# typed in lower case with a typographic apostrophe is marked, its context
# menu offers the tag's action, and the action inserts exactly that
# customer's rows, its filter row showing the name. Pictures in BUILD_FOLDER/smart-tags/.
tags="$work/tags"
mkdir -p "$tags/registry" "$tags/config" "$tags/samples" "$build/smart-tags"
cp "$samples/qvDataView Sample.cfg" "$tags/samples/"
rm -f "$build/smart-tags"/*.png
if ! QV_REGISTRY_ROOT="$tags/registry" XDG_CONFIG_HOME="$tags/config" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$qvdemo" --samples "$tags/samples" --script smart-tags "$tags/tags.odt" "$build/smart-tags" >"$tags/steps.txt"; then
  echo "FAIL: the smart tag run stopped; it printed:" >&2; cat "$tags/steps.txt" >&2
  exit 1
fi
python3 - "$tags" "$samples/Sample Sales.sqlite" <<'PY'
import sqlite3, sys, zipfile
import xml.etree.ElementTree as ET

tags, database = sys.argv[1], sys.argv[2]
lines = [l.rstrip("\n").split("\t") for l in open(tags + "/steps.txt", encoding="utf-8") if l.strip()]
first = {l[0]: l[1:] for l in reversed(lines)}
if first.get("marked") != ["chloé o’neill"]:
    sys.exit("FAIL: the typed name was marked as %r" % first.get("marked"))
if first.get("menu") != ["Insert customer"]:
    sys.exit("FAIL: the context menu offered %r" % first.get("menu"))
name = "Chloé O'Neill"
if first.get("filter") != ["Name", name]:
    sys.exit("FAIL: Insert Data's filter row showed %r, not the term" % first.get("filter"))
want = sqlite3.connect(database).execute("SELECT COUNT(*) FROM Customers WHERE Name = ?", (name,)).fetchone()[0]
shown = [l[1] for l in lines if l[0] == "row"]
if want < 1 or shown != [name] * want:
    sys.exit("FAIL: Insert Data showed %r, the database has %d rows of %s" % (shown, want, name))
TABLE = "{urn:oasis:names:tc:opendocument:xmlns:table:1.0}"
content = ET.fromstring(zipfile.ZipFile(tags + "/tags.odt").read("content.xml"))
tables = list(content.iter(TABLE + "table"))
if len(tables) != 1:
    sys.exit("FAIL: the document holds %d tables, not one" % len(tables))
rows = ["".join(row.itertext()) for row in tables[0].iter(TABLE + "table-row")]
if len(rows) != want + 1 or any(name not in row for row in rows[1:]):
    sys.exit("FAIL: the inserted table holds %r" % rows)
print("smart tags: the typed name was marked, its action inserted the %d rows of %s" % (want, name))
PY
for picture in smart-tag-marked smart-tag-menu smart-tag-insert-data; do
  [ -s "$build/smart-tags/$picture.png" ] || { echo "FAIL: no picture $picture" >&2; exit 1; }
done
# In the Data View Manager, "Sample Customers" dragged with the mouse from the
# personal "Data Views" folder onto the team's, then renamed there in place;
# a picture of each step is left in BUILD_FOLDER/manager-drag/. It works on a
# copy of the samples' configuration and a team file of its own.
drag="$work/drag"
mkdir -p "$drag/registry" "$drag/config" "$drag/samples" "$drag/team" "$build/manager-drag"
cp "$samples/qvDataView Sample.cfg" "$drag/samples/"
rm -f "$build/manager-drag"/*.png
team_file="$drag/team/Demo Team.cfg"
if ! QV_REGISTRY_ROOT="$drag/registry" XDG_CONFIG_HOME="$drag/config" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$qvdemo" --samples "$drag/samples" --script manager-drag "$team_file" "$build/manager-drag" \
    >"$work/view-drag.txt"; then
  echo "FAIL: the manager's drag and rename stopped; it printed:" >&2; cat "$work/view-drag.txt" >&2
  exit 1
fi
expect_line drag "$(printf 'dropped\tSample Customers')"
expect_line drag "$(printf 'renamed\tTeam Customers')"
expect_line drag "$(printf 'team\tTeam Customers')"
grep -q 'name="Team Customers"' "$team_file" || { echo "FAIL: the team file holds no \"Team Customers\"" >&2; exit 1; }
grep -q 'name="Sample Customers"' "$drag/samples/qvDataView Sample.cfg" ||
  { echo "FAIL: the personal configuration lost \"Sample Customers\"" >&2; exit 1; }
for step in 1-selected 2-over-team 3-dropped 4-renaming 5-renamed; do
  [ -s "$build/manager-drag/manager-drag-$step.png" ] || { echo "FAIL: no picture manager-drag-$step.png" >&2; exit 1; }
done
echo "the Data View Manager copied a data view to the team by drag and drop and renamed it there"
