#pragma once

namespace vimbo::linuxdesktop {

// Starts the program again, with the same arguments, when it crashes (see app::RelaunchPolicy). A
// small watcher process is forked here, so call it first in main, before any thread exists; the
// program tells it of a crash through a pipe from its fatal-signal handlers, and a program that
// quits, or is killed on purpose, leaves it nothing to do.
void armCrashRelaunch(char** argv);

} // namespace vimbo::linuxdesktop
