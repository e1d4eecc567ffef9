#!/usr/bin/env python3
"""Runs the end-to-end scenarios against a build folder. Expects an X server with a window
manager and a notification area on DISPLAY; e2e/run.sh provides them.

The last line printed is "N passed, N failed".
"""

import argparse
import shutil
import sys
import tempfile
import time
import traceback
from pathlib import Path

import harness
import install
import scenarios
import screenshots
import wine
import wine_scenarios

HERE = Path(__file__).resolve().parent
SANITIZER_REPORTS = ("ERROR: AddressSanitizer", "runtime error:", "ERROR: LeakSanitizer")


class Suite:
    """What one scenario gets: its program folders, the builds, the output folder."""

    def __init__(self, build, root, out_dir, wine_env=None):
        self.build = build
        self.root = root
        self.out_dir = out_dir
        # The Windows build under Wine when set: Wine's environment.
        self.wine_env = wine_env
        self.apps = []
        self.names = []

    @property
    def binary(self):
        name = wine.WineApp.BINARY if self.wine_env else harness.App.BINARY
        path = self.build / "e2e" / "app" / name
        harness.check(path.exists(), f"{path} is missing: build the target amperlog-e2e")
        return path

    def new_app(self, name, **kwargs):
        if self.wine_env:
            app = wine.WineApp(self.binary, self.root / name, self.out_dir, self.wine_env,
                               **kwargs)
        else:
            app = harness.App(self.binary, self.root / name, self.out_dir, **kwargs)
        self.apps.append(app)
        self.names.append(name)
        return app

    def finish(self):
        """Ends what the scenario left running, through the close button where the window is
        shown, so that the shutdown and the sanitizers' checks at exit run too; returns what
        went wrong there."""
        reports = []
        for app in self.apps:
            try:
                code = app.close()
            except harness.Failure as failure:
                code = None
                reports.append(f"closing {app.folder.name}: {failure}")
            if code not in (None, 0):
                reports.append(f"{app.folder.name} exited with {code} when closed")
            app.stop()
            for log in self.out_dir.glob(f"{app.folder.name}.*.log"):
                text = log.read_text(errors="replace")
                if any(marker in text for marker in SANITIZER_REPORTS):
                    reports.append(f"sanitizer report in {log.name}")
        self.apps = []
        return reports


def run_scenario(function, suite):
    started = time.monotonic()
    try:
        function(suite)
        harness.screenshot(suite.out_dir / f"{function.__name__}-end.png")
        problems = suite.finish()
    except harness.Failure as failure:
        problems = [str(failure)]
    except Exception:  # a fault of the suite itself counts as a failure, with its trace
        problems = [traceback.format_exc()]
    if problems:
        try:
            harness.screenshot(suite.out_dir / f"{function.__name__}-FAILED.png")
        except harness.Failure:
            pass
        problems += suite.finish()
        for app_log in sorted(suite.out_dir.glob("*.stderr.log")):
            tail = app_log.read_text(errors="replace").strip().splitlines()[-15:]
            if tail and any(app_log.name.startswith(f"{a}.") for a in suite.names):
                problems.append(f"--- {app_log.name}\n" + "\n".join(tail))
    seconds = time.monotonic() - started
    status = "FAIL" if problems else "PASS"
    print(f"{status} {function.__name__} ({seconds:.1f} s)", flush=True)
    for problem in problems:
        print("     " + problem.replace("\n", "\n     "), flush=True)
    return not problems


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", type=Path, help="the build folder (not needed for --list)")
    parser.add_argument("--only", action="append", default=[], help="run these scenarios")
    parser.add_argument("--list", action="store_true", help="name the scenarios")
    parser.add_argument("--wine", action="store_true",
                        help="the Windows build (a mingw-qt build folder) under Wine")
    parser.add_argument("--out", type=Path, default=HERE / "out", help="screenshots and logs")
    parser.add_argument("--screenshots", type=Path, metavar="DIR",
                        help="only make the README's screenshots, into DIR")
    args = parser.parse_args()

    if args.wine:
        everything = wine_scenarios.SCENARIOS
    else:
        everything = scenarios.SCENARIOS + install.SCENARIOS
    if args.list:
        for function in everything:
            print(f"{function.__name__}: {(function.__doc__ or '').split(chr(10))[0]}")
        return 0
    if args.build is None:
        parser.error("--build is required")

    chosen = [f for f in everything if not args.only or f.__name__ in args.only]
    unknown = set(args.only) - {f.__name__ for f in everything}
    if unknown:
        print(f"unknown scenarios: {', '.join(sorted(unknown))}", file=sys.stderr)
        print("0 passed, 1 failed")
        return 1

    shutil.rmtree(args.out, ignore_errors=True)
    args.out.mkdir(parents=True)
    build = args.build.resolve()
    passed = failed = 0
    started = time.monotonic()
    wine_env = wine.prepare_prefix(build / "wineprefix-x11") if args.wine else None
    with tempfile.TemporaryDirectory(prefix="amperlog-e2e-") as root:
        if args.screenshots:
            chosen = [screenshots.readme_screenshots(args.screenshots.resolve())]
        for function in chosen:
            suite = Suite(build, Path(root) / function.__name__, args.out, wine_env)
            if run_scenario(function, suite):
                passed += 1
            else:
                failed += 1
    if wine_env:
        wine.stop_prefix(wine_env)
    print(f"e2e: {time.monotonic() - started:.0f} s, screenshots and logs in {args.out}")
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
