#pragma once

// The process entry: decides between the editor and the text viewer, creates that one window and
// runs the event loop until it closes. Answers the process exit code.
//
// Environment switches for tests and benchmarks:
//   QUILLET_QUIT_AFTER_SHOW  quit right after the main window's first paint.
//   QUILLET_STARTUP_TRACE    print "quillet-startup: main <ns>", "quillet-startup: decision <ns>
//                            window=<editor|viewer> splash=<shown|hidden|none>" and
//                            "quillet-startup: first-paint <ns>" on stderr, <ns> read from the
//                            monotonic clock (std::chrono's steady_clock), so another process can
//                            time the start.
//   QUILLET_TEST_SCRIPT      a file of commands run against the window once it is shown, so a
//                            test can drive the real program (see app/testscript.h).
int runQuillet(int argc, char *argv[]);
