#!/usr/bin/env python3
"""Checks that the folders under src/ include each other without cycles.

Every `#include "folder/..."` in a source file is an edge from the file's folder to that
folder; core/platform counts as a folder of its own (the platform sits below the editor state
that core/ holds). Prints the folder graph; on a cycle, lists each cycle's edges with the
includes that make them and exits with 1. `--allow A:B` leaves the edge A -> B out of the
cycle search (it is still listed), for an edge known to be on its way out.

    python3 scripts/check_layers.py [--allow A:B ...] [SRC_DIR]
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder_of(path):
    """The folder a path under src/ belongs to ("core/platform" for the platform)."""
    parts = path.split("/")
    if len(parts) == 1:
        return parts[0]  # main.cpp: the program's entry, above everything
    if parts[0] == "core" and len(parts) > 2 and parts[1] == "platform":
        return "core/platform"
    return parts[0]


def read_edges(src):
    edges = {}  # (from, to) -> ["file: include", ...]
    for root, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(root, name)
            rel = os.path.relpath(path, src).replace(os.sep, "/")
            with open(path, encoding="utf-8", errors="replace") as f:
                text = f.read()
            for inc in INCLUDE.findall(text):
                if "/" not in inc or not os.path.exists(os.path.join(src, inc)):
                    continue  # a header beside the file, or one from outside src/
                a, b = folder_of(rel), folder_of(inc)
                if a != b:
                    edges.setdefault((a, b), []).append(rel + ": " + inc)
    return edges


def strongly_connected(nodes, edges):
    """Tarjan's components of the folder graph, each a sorted list."""
    succ = {n: sorted(b for (a, b) in edges if a == n) for n in nodes}
    index, low, stack, on_stack, out = {}, {}, [], set(), []

    def visit(n):
        index[n] = low[n] = len(index)
        stack.append(n)
        on_stack.add(n)
        for m in succ[n]:
            if m not in index:
                visit(m)
                low[n] = min(low[n], low[m])
            elif m in on_stack:
                low[n] = min(low[n], index[m])
        if low[n] == index[n]:
            comp = []
            while True:
                m = stack.pop()
                on_stack.discard(m)
                comp.append(m)
                if m == n:
                    break
            out.append(sorted(comp))

    for n in sorted(nodes):
        if n not in index:
            visit(n)
    return out


def main():
    args, allowed = sys.argv[1:], set()
    while len(args) >= 2 and args[0] == "--allow":
        allowed.add(tuple(args[1].split(":", 1)))
        args = args[2:]
    src = args[0] if args else os.path.join(os.path.dirname(__file__), "..", "src")
    edges = read_edges(src)
    nodes = {n for e in edges for n in e}
    for a, b in sorted(allowed):
        for w in edges.pop((a, b), []):
            print("allowed for now: %s -> %s   %s" % (a, b, w))
    print("folder graph (folder -> folders it includes):")
    for n in sorted(nodes):
        print("  %-14s -> %s" % (n, ", ".join(sorted(b for (a, b) in edges if a == n)) or "-"))
    cycles = [c for c in strongly_connected(nodes, edges) if len(c) > 1]
    if not cycles:
        print("no cycles between folders")
        return 0
    for comp in cycles:
        print("CYCLE between " + ", ".join(comp) + "; its edges:")
        for (a, b), why in sorted(edges.items()):
            if a in comp and b in comp:
                print("  %s -> %s" % (a, b))
                for w in why:
                    print("      " + w)
    return 1


if __name__ == "__main__":
    sys.exit(main())
