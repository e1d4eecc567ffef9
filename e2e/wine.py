"""The Windows build under Wine, in the X server of the end-to-end suite: the test build driven
as on Linux, and the installer tried as a Windows user meets it.

Wine runs with its X11 driver here, so the program's windows, its notification icon (docked
into the tray host) and its balloons are X windows the suite can see and click.
"""

import os
import subprocess
from pathlib import Path

import harness
from harness import check

# No Mono or Gecko installers: nothing here needs them, and they would ask.
WINE_ENV = {"WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}


def prepare_prefix(prefix):
    """The environment for Wine in prefix, booted once and kept for later runs, with one Wine
    server for the whole suite: each start then takes a fraction of a second."""
    env = dict(os.environ, WINEPREFIX=str(prefix), **WINE_ENV)
    prefix.mkdir(parents=True, exist_ok=True)
    subprocess.run(["wineserver", "-p"], env=env, check=True)
    # The first boot of a prefix takes tens of seconds, more on a busy machine.
    subprocess.run(["wineboot"] + ([] if (prefix / "system.reg").exists() else ["--init"]),
                   env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=900, check=True)
    return env


def stop_prefix(env):
    subprocess.run(["wineserver", "-k"], env=env, check=False)


def wine(env, *command, timeout=300):
    """Runs a Windows program to its end; returns its standard output."""
    result = subprocess.run(["wine", *map(str, command)], env=env, capture_output=True,
                            text=True, stdin=subprocess.DEVNULL, timeout=timeout)
    check(result.returncode == 0,
          f"{' '.join(map(str, command))} exited with {result.returncode}: {result.stderr[-500:]}")
    return result.stdout


def linux_path(env, windows):
    """A Windows path of the prefix as a Linux path."""
    result = subprocess.run(["winepath", "-u", windows], env=env, capture_output=True,
                            text=True, check=True)
    return Path(result.stdout.strip())


def local_app_data(env):
    """The user's %LOCALAPPDATA% in the prefix, as Windows writes it."""
    return wine(env, "cmd", "/c", "echo", "%LOCALAPPDATA%").strip()


def link_tree(source, target):
    """The program folder's files hard-linked into another folder: each scenario gets a
    program folder of its own without copying the DLLs."""
    for path in source.rglob("*"):
        if path.is_file():
            destination = target / path.relative_to(source)
            destination.parent.mkdir(parents=True, exist_ok=True)
            if not destination.exists():
                os.link(path, destination)


class WineApp(harness.App):
    """The Windows test build in a program folder of its own, run under Wine."""

    BINARY = "amperlog-e2e.exe"

    def __init__(self, binary, folder, out_dir, wine_env, **kwargs):
        """binary is the program in its build or install folder; folder is where it runs,
        the same folder for an installed copy."""
        self.wine_env = wine_env
        self.BINARY = Path(binary).name
        if Path(binary).parent != Path(folder):
            link_tree(Path(binary).parent, Path(folder))
        super().__init__(binary, folder, out_dir, **kwargs)

    @property
    def settings_path(self):
        return self.folder / (Path(self.BINARY).stem + ".ini")

    def environment(self, extra_env=None):
        env = super().environment(extra_env)
        # The Linux suite's platform plugin; the Windows build has its own.
        env.pop("QT_QPA_PLATFORM", None)
        env.update(self.wine_env)
        return env

    def command(self):
        return ["wine", str(self.exe)]

    def request_widgets(self):
        # No signal reaches a Windows program: it looks for a request file.
        (self.folder / "widgets.txt.request").touch()
