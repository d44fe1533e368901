#pragma once

// The process entry: decides between the editor and the text viewer, creates that one window and
// runs the event loop until it closes. Answers the process exit code.
int runQuillet(int argc, char *argv[]);
