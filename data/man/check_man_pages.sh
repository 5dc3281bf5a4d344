#!/bin/sh
# check_man_pages.sh MEVRA_CLI PAGE...
# Every page must render with groff's warnings all on and say nothing; the
# first page, mevra-cli's, must name every command path and every option that
# the program's help lists, so a new option cannot go undocumented. With
# MEVRA set to the desktop program, the second page, mevra's, must name every
# option of `mevra --help`.
# Exits 77 (skipped) where groff is not installed.
set -u
cli=$1
shift
command -v groff >/dev/null || exit 77
status=0

for page in "$@"; do
    warnings=$(groff -t -man -Tutf8 -ww -z "$page" 2>&1)
    if [ -n "$warnings" ]; then
        echo "$page: groff warns:"
        echo "$warnings"
        status=1
    fi
done

# A name counts only standing alone: "--to" is not found inside "--top".
covers() {
    printf '%s\n' "$text" | grep -q -E -e "(^|[^a-z0-9-])$1([^a-z0-9-]|\$)"
}
# Plain text of a page, one very long line per paragraph, so that no option
# is broken across lines.
page_text() {
    groff -t -man -Tascii -P-cbou -rLL=2000n "$1" 2>/dev/null
}
# Option lines of a help text: two spaces, then e.g. "-o,--output TEXT",
# "--json" or "-h, --help".
help_options() {
    printf '%s\n' "$1" | sed -n 's/^  \(-[^ ]*\( -[^ ]*\)*\).*/\1/p' | tr , ' '
}
gui_page=${2:-}
if [ -n "${MEVRA:-}" ] && [ -n "$gui_page" ]; then
    text=$(page_text "$gui_page")
    help=$("$MEVRA" --help) || { echo "mevra --help failed"; exit 1; }
    for option in $(help_options "$help"); do
        covers "$option" || { echo "mevra.1 does not mention $option"; status=1; }
    done
fi
text=$(page_text "$1")

# The commands reached by following "Subcommands:" from the top.
commands=""
queue="."
while [ -n "$queue" ]; do
    set -- $queue
    path=$1
    shift
    queue="$*"
    if [ "$path" = . ]; then words=""; else words=$(echo "$path" | tr . ' '); fi
    help=$("$cli" $words --help) || { echo "mevra-cli $words --help failed"; exit 1; }
    [ -n "$words" ] && commands="$commands $path"
    # Option lines: two spaces, then e.g. "-o,--output TEXT" or "--json".
    for names in $(printf '%s\n' "$help" | sed -n 's/^  \(-[^ ]*\).*/\1/p'); do
        for option in $(echo "$names" | tr , ' '); do
            if ! covers "$option"; then
                echo "mevra-cli.1 does not mention $option (mevra-cli $words)"
                status=1
            fi
        done
    done
    for sub in $(printf '%s\n' "$help" | sed -n '/^Subcommands:/,$s/^  \([a-z][a-z0-9-]*\) .*/\1/p'); do
        if [ -n "$words" ]; then queue="$queue $path.$sub"; else queue="$queue $sub"; fi
    done
done
for path in $commands; do
    words=$(echo "$path" | tr . ' ')
    if ! covers "mevra-cli $words"; then
        echo "mevra-cli.1 does not show the command 'mevra-cli $words'"
        status=1
    fi
done
exit $status
