#!/usr/bin/env python3
"""The docs' path check fails on a named path that is gone and passes what is no repo path."""
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parent.parent / "check-doc-paths.py"

FILES = {
    ".gitignore": "/build/\n",
    "scripts/run.sh": "",
    "fuzz/run.sh": "",
    "e2e/suite.py": "",
    "src/helpers/numeric.cpp": "",
    "src/platform/linux/speech_reading.cpp": "",
    "docs/images/main.png": "",
    "docs/OTHER.md": "See `helpers/numeric` and `platform/linux/`.\n",
}

# Nothing here names a repository path that is missing.
CLEAN = """\
Run `scripts/run.sh`; the reading table is in `speech_reading.cpp`.

    scripts/run.sh --fast
    mkdir -p ~/.config/autostart

Not repository paths: `build/release/src/app/amperlog`, `Data/yyyyMMdd.txt`, `~/.config`,
`%LOCALAPPDATA%\\Amperlog`, `/sys/class/power_supply`, `share/metainfo/`, `amperlog.ini`,
`<program folder>/Data/health.csv`, `src/helpers/*.cpp`.

![a picture](docs/images/main.png)
"""


def run(readme):
    with tempfile.TemporaryDirectory() as tmp:
        root = Path(tmp)
        for name, text in {**FILES, "README.md": readme}.items():
            path = root / name
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text)
        result = subprocess.run([sys.executable, SCRIPT, "--root", root],
                                capture_output=True, text=True, check=False)
        return result.returncode, result.stderr


class CheckDocPathsTest(unittest.TestCase):
    def test_clean_docs_pass(self):
        self.assertEqual(run(CLEAN), (0, ""))

    def test_each_missing_path_fails_with_its_line(self):
        cases = {
            "script in backticks": ("`scripts/old.sh`", "README.md:1: scripts/old.sh does not"),
            "command in a code block": ("\n    e2e/run.sh build/ci", "README.md:2: e2e/run.sh"),
            "src folder as the docs write it": ("`platform/fake/`", "platform/fake/ does not"),
            "bare source file": ("`synced_append.h`", "README.md:1: no file named synced_append.h"),
            "before a placeholder": ("`fuzz/corpus/<target>/`", "fuzz/corpus does not"),
            "relative link": ("![x](docs/images/gone.png)", "link to docs/images/gone.png"),
        }
        for name, (text, reason) in cases.items():
            with self.subTest(name):
                code, err = run(text + "\n\n" + CLEAN)
                self.assertEqual(code, 1)
                self.assertIn(reason, err)


if __name__ == "__main__":
    unittest.main()
