#!/usr/bin/env python3
"""Fails when a folder of the library includes a folder that includes it back, directly
or through others, or when the ground floor (common/) includes any other folder of the
library: the folders stand in floors, and includes point down only.

    tools/check_layers.py [ROOT]
"""
import pathlib
import re
import sys

GROUND = "common"
LIBRARY = ("common", "entry", "face", "window", "button", "label", "slip", "skin", "include")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^/"]+)/', re.MULTILINE)


def folder_graph(root):
    graph = {folder: set() for folder in LIBRARY}
    for folder in LIBRARY:
        for source in sorted((root / folder).glob("*.[ch]*")):
            for target in INCLUDE.findall(source.read_text(errors="replace")):
                if target in graph and target != folder:
                    graph[folder].add(target)
    return graph


def find_circle(graph):
    state = {}  # absent: unseen; 1: on the current path; 2: done

    def visit(folder, path):
        state[folder] = 1
        for target in sorted(graph[folder]):
            if state.get(target) == 1:
                return path[path.index(target):] + [target]
            if target not in state:
                circle = visit(target, path + [target])
                if circle:
                    return circle
        state[folder] = 2
        return None

    for folder in sorted(graph):
        if folder not in state:
            circle = visit(folder, [folder])
            if circle:
                return circle
    return None


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    graph = folder_graph(root)
    circle = find_circle(graph)
    if circle:
        print("include circle: " + " -> ".join(circle))
        return 1
    if graph[GROUND]:
        print(f"{GROUND}/ is the ground floor but includes {', '.join(sorted(graph[GROUND]))}")
        return 1
    for folder in LIBRARY:
        print(f"{folder}/ includes {', '.join(sorted(graph[folder])) or 'nothing of the library'}")
    print("no include circle among the library's folders")
    return 0


if __name__ == "__main__":
    sys.exit(main())
