#!/usr/bin/env python3
"""Runs a command inside a private desktop (Xvfb, session bus) and returns its exit status."""
import subprocess
import sys

import servers


def main():
    with servers.desktop() as (env, _home):
        return subprocess.run(sys.argv[1:], env=env, timeout=240).returncode


if __name__ == "__main__":
    sys.exit(main())
