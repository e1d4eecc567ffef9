#!/usr/bin/env python3
"""Checks that every repository path the README and docs/ name still exists.

Looked at: the words of each `backticked` span, the first word of each command line in an
indented code block, and the targets of relative links. A word counts as a repository path
when its first folder is one of the repository's own (src/'s folders included, as the docs
write them the way includes do), or when it has no folder and ends like a source file or
script (`speech_reading.cpp`: some file of that name must exist). Not checked: what
.gitignore ignores (build outputs), absolute and user paths (/sys/..., ~/.config,
%LOCALAPPDATA%), Windows paths, and a path from its first placeholder on (<name>, yyyyMMdd,
*, {a,b}): only the part before it must exist.

    check-doc-paths.py [--root DIR]
"""
import argparse
import fnmatch
import os
import re
import sys
from pathlib import Path

SOURCE_SUFFIXES = (".cpp", ".h", ".py", ".sh", ".md", ".cmake", ".in", ".supp")
BACKTICKS = re.compile(r"(?<!`)`([^`\n]+)`(?!`)")
LINK = re.compile(r"\]\(([^)\s]+)\)")
PLACEHOLDER = re.compile(r"[<>*{}\[\]]|yyyy|MMdd|\.\.\.")
FENCE = re.compile(r"^\s*```")


def ignored_patterns(root):
    path = root / ".gitignore"
    if not path.exists():
        return []
    lines = (line.strip() for line in path.read_text().splitlines())
    return [line.strip("/") for line in lines if line and not line.startswith(("#", "!"))]


def is_ignored(rel, patterns):
    parts = rel.split("/")
    prefixes = ["/".join(parts[:n]) for n in range(1, len(parts) + 1)]
    return any(fnmatch.fnmatch(p, pat) or fnmatch.fnmatch(part, pat)
               for pat in patterns for p, part in zip(prefixes, parts))


class Repository:
    def __init__(self, root):
        self.root = root
        self.ignored = ignored_patterns(root)
        self.names = set()
        for folder, dirs, files in os.walk(root):
            here = Path(folder)
            dirs[:] = [d for d in dirs if d != ".git" and not is_ignored(
                (here / d).relative_to(root).as_posix(), self.ignored)]
            self.names.update(files)
        self.tops = self._entries(root)
        self.src_tops = self._entries(root / "src")

    def _entries(self, folder):
        if not folder.is_dir():
            return set()
        return {p.name for p in folder.iterdir() if not is_ignored(p.name, self.ignored)}

    def exists(self, rel, base):
        """rel names something under base (the root or src/), as given or as a stem."""
        target = base / rel
        if target.exists():
            return True
        return not Path(rel).suffix and any(target.parent.glob(target.name + ".*"))

    def problem(self, word):
        """Why word, when it is a repository path, does not name a thing that exists."""
        word = word.lstrip("\"'(").rstrip("\"'),.;:")
        if (not word or word.startswith(("/", "~", "$", "%", "-", "http", "<"))
                or "\\" in word or "=" in word or ":" in word):
            return None
        match = PLACEHOLDER.search(word)
        if match:
            word = word[:match.start()].rpartition("/")[0]
            if not word:
                return None
        word = word.removeprefix("./")
        first, slash, _ = word.partition("/")
        if not slash:
            if word.endswith(SOURCE_SUFFIXES) and word not in self.names:
                return f"no file named {word}"
            return None
        if is_ignored(word.rstrip("/"), self.ignored):
            return None
        if first in self.tops and self.exists(word, self.root):
            return None
        if first in self.src_tops and self.exists(word, self.root / "src"):
            return None
        if first in self.tops or first in self.src_tops or word.endswith(SOURCE_SUFFIXES):
            return f"{word} does not exist"
        return None


def named_paths(text):
    """(line number, word, is a link) for each candidate in a Markdown text."""
    in_fence = False
    previous_blank = True
    in_indented = False
    for number, line in enumerate(text.splitlines(), 1):
        if FENCE.match(line):
            in_fence = not in_fence
            continue
        if in_fence:
            continue
        if line.startswith("    ") and (previous_blank or in_indented):
            in_indented = True
            words = line.split()
            if words:
                yield number, words[0], False
            continue
        in_indented = False
        previous_blank = not line.strip()
        for span in BACKTICKS.findall(line):
            for word in span.split():
                yield number, word, False
        for target in LINK.findall(line):
            if not target.startswith(("http:", "https:", "mailto:", "#")):
                yield number, target.split("#")[0], True


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--root", type=Path, default=Path(__file__).resolve().parent.parent)
    args = parser.parse_args()
    repo = Repository(args.root)
    docs = [args.root / "README.md", *sorted((args.root / "docs").glob("*.md"))]
    failures = []
    for doc in docs:
        if not doc.exists():
            continue
        name = doc.relative_to(args.root).as_posix()
        for number, word, is_link in named_paths(doc.read_text(encoding="utf-8")):
            if is_link:
                if not (doc.parent / word).exists():
                    failures.append(f"{name}:{number}: link to {word}, which does not exist")
                continue
            problem = repo.problem(word)
            if problem:
                failures.append(f"{name}:{number}: {problem}")
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
