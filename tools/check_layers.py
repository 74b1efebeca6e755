#!/usr/bin/env python3
"""Checks the layers of src/: no include from a lower layer to a higher one, no widget header below the windows,
and no circle of includes between units (a header and its source file are one unit). Prints each fault and exits 1
when there is one. Usage: tools/check_layers.py [SRC_FOLDER]"""
import os
import re
import sys

# Bottom up. Folders of one rank may include each other, as long as no circle forms.
LAYERS = [
    ("date rules", ["core/calendar"]),
    ("files and system", ["core/system"]),
    ("models", ["core/settings", "core/memos", "core/notes", "core/view", "core/shell", "core/sync", "core/remind"]),
    ("program", ["core/program"]),
    ("windows and terminal", ["gui/calendar", "gui/memos", "gui/notes", "gui/options", "gui/common", "gui/sync",
                              "gui/remind", "cli"]),
    ("entry", ["app"]),
]
WINDOW_RANK = 4
# Qt Widgets and its companions that need a QApplication with widgets.
WIDGET_HEADER = re.compile(r"^(QtWidgets/|QtPrintSupport/|QtSvgWidgets/)?(QApplication|QWidget|QDialog|QMainWindow|"
                           r"QLabel|QPushButton|QToolButton|QMenu|QMessageBox|QFileDialog|QFontDialog|QColorDialog|"
                           r"QPrintDialog|QPrinter|QSystemTrayIcon|QLineEdit|QTextEdit|QPlainTextEdit|QAbstract\w*View|"
                           r"QTableView|QListWidget|QTabWidget|QComboBox|QCheckBox|QRadioButton|QSpinBox|QScrollArea|"
                           r"QLayout|QBoxLayout|QHBoxLayout|QVBoxLayout|QGridLayout|QFrame|QStyle\w*|QAction|"
                           r"QToolBar|QProgressBar|QGroupBox|QHeaderView|QDateEdit|QCalendarWidget|QAccessibleWidget|"
                           r"QtWidgets|QtPrintSupport)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def rank_of(path):
    folder = os.path.dirname(path)
    for rank, (_, folders) in enumerate(LAYERS):
        if folder in folders:
            return rank
    return None


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src")
    faults = []
    edges = {}  # unit -> {unit: where}
    for folder, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.relpath(os.path.join(folder, name), src)
            rank = rank_of(path)
            if rank is None:
                faults.append(f"{path}: in no layer (add its folder to tools/check_layers.py)")
                continue
            unit = os.path.splitext(path)[0]
            with open(os.path.join(src, path), encoding="utf-8") as f:
                text = f.read()
            for kind, target in INCLUDE.findall(text):
                if kind == "<":
                    if rank < WINDOW_RANK and WIDGET_HEADER.match(target):
                        faults.append(f"{path}: widget header <{target}> below the windows")
                    continue
                target_rank = rank_of(target)
                if target_rank is None:
                    faults.append(f'{path}: includes "{target}", which is in no layer')
                    continue
                if target_rank > rank:
                    faults.append(f'{path} ({LAYERS[rank][0]}) includes "{target}" ({LAYERS[target_rank][0]})')
                target_unit = os.path.splitext(target)[0]
                if target_unit != unit:
                    edges.setdefault(unit, {}).setdefault(target_unit, path)
    # Circles: depth-first search, each circle reported once by its smallest member.
    state, stack, circles = {}, [], set()

    def visit(unit):
        state[unit] = 1
        stack.append(unit)
        for nxt in sorted(edges.get(unit, {})):
            if state.get(nxt) == 1:
                circle = stack[stack.index(nxt):]
                start = circle.index(min(circle))
                circles.add(tuple(circle[start:] + circle[:start]))
            elif nxt not in state:
                visit(nxt)
        stack.pop()
        state[unit] = 2

    for unit in sorted(edges):
        if unit not in state:
            visit(unit)
    for circle in sorted(circles):
        faults.append("circle of includes: " + " -> ".join(circle + (circle[0],)))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
