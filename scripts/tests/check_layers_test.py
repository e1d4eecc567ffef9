#!/usr/bin/env python3
"""The layer check fails on includes against the rule and on cycles, and passes a clean tree."""
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parent.parent / "check-layers.py"

RULES = """\
```layers
helpers:
settings: helpers
graphs: helpers settings
platform:
platform/linux: platform helpers
```
"""

CLEAN = {
    "helpers/numeric.h": "",
    "settings/store.h": '#include "helpers/numeric.h"\n',
    "graphs/bar.cpp": '#include "settings/store.h"\n#include "graphs/bar.h"\n#include <vector>\n',
    "graphs/bar.h": "",
    "platform/clock.h": "",
    "platform/linux/clock.cpp": '#include "platform/clock.h"\n#include "helpers/numeric.h"\n',
}


def run(files, rules=RULES):
    with tempfile.TemporaryDirectory() as tmp:
        root = Path(tmp)
        for name, text in files.items():
            path = root / "src" / name
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text)
        (root / "ARCHITECTURE.md").write_text(rules)
        result = subprocess.run(
            [sys.executable, SCRIPT, "--src", root / "src", "--rules", root / "ARCHITECTURE.md"],
            capture_output=True, text=True, check=False)
        return result.returncode, result.stderr


class CheckLayersTest(unittest.TestCase):
    def test_clean_tree_passes(self):
        self.assertEqual(run(CLEAN), (0, ""))

    def test_each_fault_fails_with_its_reason(self):
        cases = {
            "upward include": ({"helpers/numeric.cpp": '#include "graphs/bar.h"\n'},
                               "helpers may not include graphs/bar.h"),
            "sideways into an implementation": (
                {"platform/clock.cpp": '#include "platform/linux/clock.h"\n',
                 "platform/linux/clock.h": ""},
                "platform may not include platform/linux/clock.h"),
            "bare include": ({"graphs/line.cpp": '#include "store.h"\n'},
                             '"store.h" must name its folder'),
            "folder outside the rule": ({"extra/x.cpp": ""}, "extra/x.cpp: folder not in"),
        }
        for name, (extra, reason) in cases.items():
            with self.subTest(name):
                code, err = run({**CLEAN, **extra})
                self.assertEqual(code, 1)
                self.assertIn(reason, err)

    def test_cycle_in_the_rule_fails(self):
        rules = RULES.replace("helpers:\n", "helpers: graphs\n")
        code, err = run(CLEAN, rules)
        self.assertEqual(code, 1)
        self.assertIn("cycle in the rule graph", err)


if __name__ == "__main__":
    unittest.main()
