#!/usr/bin/env python3
"""Prints the include graph between the source folders and fails (exit 1) when a folder
includes one above it, when bcp/ and ddu/ include each other, on a cycle, or when a folder
of the model core includes a header of Qt's GUI or widget modules.

Layers, top to bottom; a folder may include only folders below its own layer."""
import os
import re
import sys

LAYERS = [["app"], ["shell"], ["dialogs"], ["panels"], ["equipment"], ["bcp", "ddu"], ["journal"],
          ["routes", "triplog", "platform"], ["common"]]
# The model core: Qt Core only (and Qt SQL for the journal).
MODEL = {"equipment", "bcp", "ddu", "journal", "routes", "triplog", "platform", "common"}
GUI_HEADER = re.compile(
    r'#include\s+<(?:Qt(?:Gui|Widgets|Svg|Charts)/\w+|Q(?:Widget|Application|GuiApplication|Painter'
    r'|Pixmap|Image|Icon|Color|Font|MessageBox|Label|Dialog|MainWindow|KeyEvent|MouseEvent'
    r'|DesktopServices|Accessible\w*)\b[^>]*)>')
RANK = {folder: i for i, layer in enumerate(LAYERS) for folder in layer}


GUI_FAULTS = []


def graph(root):
    edges = {}
    for folder in RANK:
        for here, _, files in os.walk(os.path.join(root, folder)):
            for name in files:
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(here, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    text = f.read()
                if folder in MODEL:
                    for header in GUI_HEADER.findall(text):
                        GUI_FAULTS.append("%s: %s, a GUI header in the model core"
                                          % (os.path.relpath(path, root), header))
                for target in re.findall(r'#include\s+"([^"/]+)/', text):
                    if target != folder and target in RANK:
                        edges.setdefault(folder, {}).setdefault(target, path)
    return edges


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else "."
    edges = graph(root)
    faults = list(GUI_FAULTS)
    for folder in sorted(edges):
        targets = sorted(edges[folder])
        print("%-9s -> %s" % (folder, " ".join(targets)))
        for target in targets:
            if RANK[target] <= RANK[folder]:
                faults.append("%s includes %s, which is not below it (%s)"
                              % (folder, target, os.path.relpath(edges[folder][target], root)))
    for fault in faults:
        print("layering: " + fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
