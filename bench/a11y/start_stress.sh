#!/bin/bash
# Starts the editor many times under an accessibility bus while clients walk its tree, each
# time in a fresh settings folder with an RTF file on the command line, and counts the starts
# that end with a signal or a non-zero status. Run by hand:
#   bench/a11y/start_stress.sh build/src/app/quillet [runs] [file.rtf | folder]
# With a folder, each start takes the next of the RTF files found under it.
# Environment:
#   STRESS_CLIENTS=2        clients (walk_tree.py) walking and listening at once
#   STRESS_PREFIX=          put before the editor, e.g. "taskset -c 0" or "nice -n 5"
#   STRESS_KEEP_WINDOW=0    milliseconds the window stays up before it quits (0: at first paint)
# For the ASan/UBSan build, set ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 and
# UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1 so that any report ends the start with a signal.
# Each start's output goes to <work>/all.log; lines that are not the editor's usual ones are
# counted at the end (warnings seen), and failing starts keep their folder.
# Needs xvfb, dbus, at-spi2-core, gir1.2-atspi-2.0 and python3-gi (the system Python).
set -u
binary=$(realpath "$1")
runs=${2:-300}
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
if [ $# -ge 3 ] && [ -d "$3" ]; then
    find "$(realpath "$3")" -name '*.rtf' | sort >"$work/documents"
    document=$work/documents
elif [ $# -ge 3 ]; then
    document=$(realpath "$3")
else
    document=$work/start.rtf
    printf '{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 Hello {\\b bold} text\\par}' >"$document"
fi
echo "work folder: $work"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
export STRESS_BINARY=$binary STRESS_RUNS=$runs STRESS_WORK=$work STRESS_DOCUMENT=$document
export STRESS_WALKER=$here/walk_tree.py STRESS_CLIENTS=${STRESS_CLIENTS:-2}
export STRESS_PREFIX=${STRESS_PREFIX:-} STRESS_KEEP_WINDOW=${STRESS_KEEP_WINDOW:-0}
xvfb-run -a -s '-screen 0 1280x1024x24' dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    sleep 0.5
    walkers=
    for client in $(seq 1 "$STRESS_CLIENTS"); do
        /usr/bin/python3 "$STRESS_WALKER" 100000 quillet &
        walkers="$walkers $!"
    done
    sleep 1
    failures=0
    for run in $(seq 1 "$STRESS_RUNS"); do
        home=$STRESS_WORK/run$run
        mkdir -p "$home/config" "$home/data" "$home/runtime"
        chmod 700 "$home/runtime"
        file=$STRESS_DOCUMENT
        if [ "${file##*/}" = documents ]; then
            count=$(wc -l <"$file")
            file=$(sed -n "$(( (run - 1) % count + 1 ))p" "$STRESS_DOCUMENT")
        fi
        if [ "$STRESS_KEEP_WINDOW" -gt 0 ]; then
            printf "wait %s\nclose\n" "$STRESS_KEEP_WINDOW" >"$home/script"
            export QUILLET_TEST_SCRIPT=$home/script
            unset QUILLET_QUIT_AFTER_SHOW
        else
            export QUILLET_QUIT_AFTER_SHOW=1
            unset QUILLET_TEST_SCRIPT
        fi
        XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/runtime \
            QUILLET_MACHINE_STORE=$home/machine.reg \
            timeout -s KILL 60 $STRESS_PREFIX "$STRESS_BINARY" "$file" >"$home/log" 2>&1
        status=$?
        { echo "== run $run status $status $file"; cat "$home/log"; } >>"$STRESS_WORK/all.log"
        if [ $status -ne 0 ]; then
            failures=$((failures + 1))
            echo "run $run: exit status $status with $file (log: $home/log)"
            tail -5 "$home/log"
        else
            rm -rf "$home"
        fi
    done
    kill $walkers
    echo "$failures of $STRESS_RUNS starts failed"
    echo "warnings seen (count, text):"
    grep -v "^== run" "$STRESS_WORK/all.log" | sed "s/0x[0-9a-f]*/0x…/g" | sort | uniq -c |
        sort -rn | head -20
'
