#!/bin/bash
# Starts the editor many times under an accessibility bus while a client walks its tree, each
# time in a fresh settings folder with an RTF file on the command line, and counts the starts
# that end with a signal. Run by hand:
#   bench/a11y/start_stress.sh build/src/app/quillet [runs] [file.rtf | folder]
# With a folder, each start takes the next of the RTF files found under it.
# Needs xvfb, dbus, at-spi2-core and python3-pyatspi (the system Python).
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
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
export STRESS_BINARY=$binary STRESS_RUNS=$runs STRESS_WORK=$work STRESS_DOCUMENT=$document
export STRESS_WALKER=$here/walk_tree.py
xvfb-run -a -s '-screen 0 1280x1024x24' dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    sleep 0.5
    /usr/bin/python3 "$STRESS_WALKER" 100000 &
    walker=$!
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
        XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/runtime \
            QUILLET_MACHINE_STORE=$home/machine.reg QUILLET_QUIT_AFTER_SHOW=1 \
            timeout -s KILL 60 "$STRESS_BINARY" "$file" >"$home/log" 2>&1
        status=$?
        if [ $status -ne 0 ]; then
            failures=$((failures + 1))
            echo "run $run: exit status $status with $file (log: $home/log)"
            tail -5 "$home/log"
        else
            rm -rf "$home"
        fi
    done
    kill $walker
    echo "$failures of $STRESS_RUNS starts failed"
'
