#!/usr/bin/env python3
"""Checks the includes under src/ against the layering written in docs/ARCHITECTURE.md.

Fails on an include of a header under src/ that does not name its folder, on an include of a
folder that the including folder may not use, and on any cycle between folders.

    check-layers.py [--src DIR] [--rules FILE]
"""
import argparse
import re
import sys
from pathlib import Path

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
# The rule is the first fenced block tagged "layers": "folder: folders it may include".
RULE_BLOCK = re.compile(r"^```layers\n(.*?)^```", re.MULTILINE | re.DOTALL)


def read_rules(text):
    block = RULE_BLOCK.search(text)
    if not block:
        raise ValueError("no ```layers block")
    rules = {}
    for line in block.group(1).splitlines():
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        folder, _, uses = line.partition(":")
        rules[folder.strip()] = set(uses.split())
    return rules


def folder_of(path, folders):
    """The longest rule folder that holds path (platform/linux before platform)."""
    parts = path.parent.parts
    for n in range(len(parts), 0, -1):
        name = "/".join(parts[:n])
        if name in folders:
            return name
    return None


def find_cycle(graph):
    """One cycle of the folder graph as a list of folders, or None."""
    state = {}
    stack = []

    def visit(node):
        state[node] = "open"
        stack.append(node)
        for succ in sorted(graph.get(node, ())):
            if state.get(succ) == "open":
                return stack[stack.index(succ):] + [succ]
            if succ not in state:
                found = visit(succ)
                if found:
                    return found
        stack.pop()
        state[node] = "done"
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node)
            if found:
                return found
    return None


def check(src, rules):
    errors = []
    headers = {p.relative_to(src) for p in src.rglob("*.h")}
    by_name = {}
    for h in headers:
        by_name.setdefault(h.name, []).append(h)
    graph = {folder: set() for folder in rules}
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        rel = path.relative_to(src)
        here = folder_of(rel, rules)
        if here is None:
            errors.append(f"{rel}: folder not in the layering")
            continue
        for target in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
            target_path = Path(target)
            if target_path not in headers:
                if "/" not in target and target in by_name:
                    errors.append(f"{rel}: include \"{target}\" must name its folder")
                continue
            there = folder_of(target_path, rules)
            if there is None or there == here:
                continue
            graph[here].add(there)
            if there not in rules[here]:
                errors.append(f"{rel}: {here} may not include {target} ({there})")
    for graph_name, edges in (("rule", rules), ("include", graph)):
        cycle = find_cycle(edges)
        if cycle:
            errors.append(f"cycle in the {graph_name} graph: {' -> '.join(cycle)}")
    return errors


def main():
    top = Path(__file__).resolve().parent.parent
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--src", type=Path, default=top / "src")
    parser.add_argument("--rules", type=Path, default=top / "docs" / "ARCHITECTURE.md")
    args = parser.parse_args()
    rules = read_rules(args.rules.read_text(encoding="utf-8"))
    errors = check(args.src, rules)
    for error in errors:
        print(error, file=sys.stderr)
    if errors:
        return 1
    print(f"layers: {len(rules)} folders, includes follow docs/ARCHITECTURE.md")
    return 0


if __name__ == "__main__":
    sys.exit(main())
