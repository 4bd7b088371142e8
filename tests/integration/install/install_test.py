"""Installs the built tree as a user would and as a Debian package would, and checks what desktops and the program
find there. Usage: install_test.py BUILD_DIR VERSION LIBDIR CMAKE CPACK [unittest arguments]"""
import contextlib
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app"))
from app_test import VimboSession  # noqa: E402

APP_ID = "org.vimbo.Vimbo"
EXTENSION = os.path.join("vimbo", "web-extensions", "vimbo-web-extension.so")


def run(args, **options):
    return subprocess.run(args, capture_output=True, text=True, timeout=90, **options)


class InstallTreeTest(unittest.TestCase):
    def test_files_land_where_desktops_look_validate_and_the_program_answers_without_a_display(self):
        with tempfile.TemporaryDirectory() as prefix:
            self.assertEqual(run([CMAKE, "--install", BUILD, "--prefix", prefix]).returncode, 0)
            entry, metainfo = f"share/applications/{APP_ID}.desktop", f"share/metainfo/{APP_ID}.metainfo.xml"
            for path in ("bin/vimbo", "share/vimbo/web/index.html", os.path.join(LIBDIR, EXTENSION),
                         f"share/icons/hicolor/scalable/apps/{APP_ID}.svg",
                         f"share/icons/hicolor/256x256/apps/{APP_ID}.png"):
                self.assertTrue(os.path.isfile(os.path.join(prefix, path)), path)
            for check in (["desktop-file-validate", entry], ["appstreamcli", "validate", "--no-net", metainfo]):
                result = run(check, cwd=prefix)
                self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            with open(os.path.join(prefix, entry)) as file:
                self.assertIn(f"\nIcon={APP_ID}\n", file.read())
            env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
            answer = run([os.path.join(prefix, "bin", "vimbo"), "--debug", "--version"], env=env)
            self.assertEqual((answer.returncode, answer.stdout.split(" (")[0]), (0, f"Vimbo {VERSION}"))


class DebianPackageTest(unittest.TestCase):
    def test_package_names_its_dependencies_and_runs_from_an_extracted_root(self):
        if not (shutil.which("dpkg-deb") and shutil.which("dpkg-shlibdeps")):
            self.skipTest("dpkg-deb or dpkg-shlibdeps is missing")
        with contextlib.ExitStack() as stack:
            work = stack.enter_context(tempfile.TemporaryDirectory())
            packed = run([CPACK, "-G", "DEB", "-B", work, "--config", os.path.join(BUILD, "CPackConfig.cmake")])
            self.assertEqual(packed.returncode, 0, packed.stdout + packed.stderr)
            deb, = glob.glob(os.path.join(work, "*.deb"))
            control = dict(line.split(": ", 1) for line in
                           run(["dpkg-deb", "-f", deb, "Section", "Depends"], check=True).stdout.splitlines())
            self.assertEqual(control["Section"], "sound")
            self.assertLessEqual({"libgtk-3-0", "libwebkit2gtk-4.1-0", "libpulse0", "libfftw3-single3",
                                  "libgl1-mesa-dri"}, {part.split()[0] for part in control["Depends"].split(", ")})
            root = os.path.join(work, "root")
            run(["dpkg", "-x", deb, root], check=True)
            # A title of its own tells the extracted page from the source tree's, where a wrong lookup would land.
            page = os.path.join(root, "usr", "share", "vimbo", "web", "index.html")
            with open(page) as file:
                html = file.read().replace("<title>Vimbo</title>", "<title>Vimbo from the package</title>")
            with open(page, "w") as file:
                file.write(html)

            session = VimboSession(stack)
            session.env.pop("VIMBO_RESOURCE_DIR")
            session.env["XDG_DATA_DIRS"] = os.path.join(root, "usr", "share") + ":/usr/share"
            vimbo = session.launch(os.path.join(root, "usr", "bin", "vimbo"))
            session.wait_for_title(lambda title: title == "Vimbo from the package")
            window, = session.windows_named("Vimbo")
            icon = run(["xprop", "-id", window, "_NET_WM_ICON"], env=session.env).stdout
            self.assertTrue(icon.startswith("_NET_WM_ICON(CARDINAL) ="), icon[:200])
            web_process = run(["pgrep", "-P", str(vimbo.pid), "WebKitWebProces"], check=True).stdout.split()[0]
            with open(f"/proc/{web_process}/maps") as maps:
                loaded = {line.split()[-1] for line in maps if line.rstrip().endswith("/vimbo-web-extension.so")}
            self.assertEqual(loaded, {os.path.join(root, "usr", LIBDIR, EXTENSION)})


if __name__ == "__main__":
    BUILD, VERSION, LIBDIR, CMAKE, CPACK = sys.argv[1:6]
    del sys.argv[1:6]
    unittest.main()
