#!/usr/bin/env bash
# Types at fexpr in a real terminal (tmux) as a person would: lines are typed, recalled with the
# Up key, edited with Ctrl-A, Ctrl-E and the arrows, and the screen must read exactly as
# without editing. Also checks that the history is kept in $XDG_STATE_HOME/fexpr/history
# across runs, and that a history that cannot be written changes nothing. Tab completes
# names and suffixes in both modes at a terminal; --each there is a session that goes on
# after a bad line and ends with Ctrl-D, while from a pipe it stays a plain filter.
# Usage: terminal_editing.sh FEXPR editing|plain   (exit 77 = skipped; a failure under CI=true)
set -u

fexpr=$1
. "$(dirname "$0")/cannot_run.sh"
[ "${2:-plain}" = editing ] || cannot_run "skipped: built without line editing (libedit-dev)"
command -v tmux >/dev/null 2>&1 || cannot_run "skipped: tmux is not installed"

scratch=$(mktemp -d)
socket="$scratch/tmux.sock"
tmux_() { tmux -S "$socket" -f /dev/null "$@"; }
trap 'tmux_ kill-server >/dev/null 2>&1; rm -rf "$scratch"' EXIT

banner='Calculate the value of a function expression.
Support (),+,-,*,x,/,%,^,&,|,@,{,},Pi,sin,cos,tan,sqrt,arcsin,arccos,arctan,lg,ln,exp,ceil,floor,round,sign,abs,d2r,r2d,k,m,g,t,p,K,M,G,T,P,shift{l|a|r}{l|r}{ss}{ee|lnn}{sh}'
prompt='Please input a function expression:'
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The pane's text with wrapped lines joined, and the blanks at line ends (the editor clears
# what it erased by writing blanks) and the empty lines at the bottom dropped.
screen() {
    tmux_ capture-pane -p -J -t fexpr | sed -e 's/ *$//' | sed -e :a -e '/^\n*$/{$d;N;ba' -e '}'
}

# Polls until the screen reads exactly $1 (10 s at most).
wait_screen() {
    local tries=0
    while [ "$(screen)" != "$1" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 200 ]; then
            fail "the screen does not read as expected"
            diff <(printf '%s\n' "$1") <(screen)
            return 1
        fi
        sleep 0.05
    done
}

# Polls until the last lines of the screen read exactly $1 (10 s at most).
wait_tail() {
    local lines tries=0
    lines=$(printf '%s\n' "$1" | wc -l)
    while [ "$(screen | tail -n "$lines")" != "$1" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 200 ]; then
            fail "the screen does not end as expected"
            diff <(printf '%s\n' "$1") <(screen | tail -n "$lines")
            return 1
        fi
        sleep 0.05
    done
}

# Polls until the editor has put the terminal into its raw mode, so that keys sent now reach
# the editor rather than the terminal's own line editing.
wait_editor() {
    local tty tries=0
    tty=$(tmux_ display-message -p -t fexpr '#{pane_tty}')
    until stty -F "$tty" -a 2>/dev/null | grep -q -- '-icanon'; do
        tries=$((tries + 1))
        if [ $tries -gt 200 ]; then
            fail "the line editor never took the terminal"
            return 1
        fi
        sleep 0.05
    done
}

# Polls until the run has written its exit status, and checks it is $1.
wait_status() {
    local tries=0
    while [ ! -s "$scratch/status" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 200 ]; then
            fail "fexpr did not end"
            return 1
        fi
        sleep 0.05
    done
    [ "$(cat "$scratch/status")" = "$1" ] || fail "exit status $(cat "$scratch/status"), not $1"
}

# Starts fexpr in a fresh pane with the given state folder and switches; the pane stays
# after it ends.
start() {
    local state=$1
    shift
    rm -f "$scratch/status"
    tmux_ new-session -d -s fexpr -x 250 -y 50 \
        "env HOME='$scratch/home' XDG_STATE_HOME='$state' '$fexpr' $*; echo \$? >'$scratch/status'; sleep 60"
}

stop() {
    tmux_ kill-session -t fexpr >/dev/null 2>&1
}

# Sends keys once the editor waits for them: a text typed literally, or key names after -k.
keys() {
    wait_editor || return 1
    if [ "$1" = -k ]; then
        shift
        tmux_ send-keys -t fexpr "$@"
    else
        tmux_ send-keys -t fexpr -l "$1"
    fi
}

mkdir -p "$scratch/home"
state="$scratch/missing/state"
history="$state/fexpr/history"

# First run: two lines, then the first recalled with Up Up and edited at its start.
start "$state"
wait_screen "$banner
$prompt"
keys '1+2' && keys -k Enter
wait_screen "$banner
$prompt
1+2
3
$prompt"
keys '2*21' && keys -k Enter
wait_screen "$banner
$prompt
1+2
3
$prompt
2*21
42
$prompt"
keys -k Up Up C-a && keys '10+' && keys -k Enter
wait_screen "$banner
$prompt
1+2
3
$prompt
2*21
42
$prompt
10+1+2
13
$prompt"
keys -k Enter
wait_status 0
stop

expected_history='_HiStOrY_V2_
1+2
2*21
10+1+2'
[ -f "$history" ] || fail "no history file at $history"
[ "$(cat "$history" 2>/dev/null)" = "$expected_history" ] ||
    fail "history file reads: $(cat "$history" 2>/dev/null)"

# Second run: the lines of the first come back with Up; a suffix is added at the end with
# Ctrl-E, and an older line is changed with the Left key and Backspace.
start "$state"
wait_screen "$banner
$prompt"
keys -k Up C-e && keys ' x' && keys -k Enter
wait_screen "$banner
$prompt
10+1+2 x
0x000000000000000d
$prompt"
keys -k Up Up Up Left Left BSpace && keys -k Enter
wait_screen "$banner
$prompt
10+1+2 x
0x000000000000000d
$prompt
221
221
$prompt"
keys -k Enter
wait_status 0
stop
[ "$(tail -n 1 "$history" 2>/dev/null)" = 221 ] || fail "the second run's lines were not kept"

# A state folder that cannot be made (a file stands in its way): no message, same answers.
touch "$scratch/blocked"
start "$scratch/blocked/state"
wait_screen "$banner
$prompt"
keys '2^10' && keys -k Enter
wait_screen "$banner
$prompt
2^10
1024
$prompt"
keys -k Enter
wait_status 0
stop

# A bad line ends the session with its status, as without editing, and is still recalled.
start "$state"
wait_screen "$banner
$prompt"
keys '2+' && keys -k Enter
wait_screen "$banner
$prompt
2+
The expression is incorrect"
wait_status 9
stop
[ "$(tail -n 1 "$history" 2>/dev/null)" = 2+ ] || fail "a line ending the session was not kept"

# Bytes from 128 up reach the expression as typed (the editor shows them as escapes): after
# a suffix they are ignored, inside an expression they are a fault, as without editing.
start "$state"
wait_screen "$banner
$prompt"
keys $'3 x\xc3\xa9' && keys -k Enter
wait_tail "0x0000000000000003
$prompt"
keys $'1\xe9' && keys -k Enter
wait_tail "Two numbers stuck together"
wait_status 7
stop

# Tab in the interactive mode: a name completed in the case typed, a listing at the second
# Tab of an ambiguous start, the suffixes after a blank.
start "$state"
wait_screen "$banner
$prompt"
keys 'SQ' && keys -k Tab && keys '(16)' && keys -k Enter
wait_screen "$banner
$prompt
SQRT(16)
4
$prompt"
keys 'a' && keys -k Tab && keys -k Tab
wait_screen "$banner
$prompt
SQRT(16)
4
$prompt
a
arcsin  arccos  arctan  abs
a"
keys 'bs(-2) x' && keys -k Tab && keys -k Tab
wait_screen "$banner
$prompt
SQRT(16)
4
$prompt
a
arcsin  arccos  arctan  abs
abs(-2) x
x_  x
abs(-2) x"
keys '_' && keys -k Enter
wait_tail "abs(-2) x_
0x00_00_00_00_00_00_00_02
$prompt"
keys -k Enter
wait_status 0
stop

# --each at a terminal: no banner and no prompt; a bad line is answered and the session goes
# on; Up recalls the lines of this session, Tab completes, Ctrl-D ends with the status of
# the first line that failed.
start "$state" --each
keys '2*(3+' && keys -k Enter
wait_screen "2*(3+
The expression is incorrect"
keys '1+2' && keys -k Enter
wait_screen "2*(3+
The expression is incorrect
1+2
3"
keys -k Up Up C-e && keys '1)' && keys -k Enter
wait_screen "2*(3+
The expression is incorrect
1+2
3
2*(3+1)
8"
keys 'sq' && keys -k Tab && keys '16' && keys -k Enter
wait_tail "2*(3+1)
8
sqrt16
4"
keys -k C-d
wait_status 9
stop
[ "$(tail -n 4 "$history" 2>/dev/null)" = '2*(3+
1+2
2*(3+1)
sqrt16' ] || fail "the --each session's lines were not kept"

# With --explain the caret shows where a line stopped (standard error, with the line's
# number), and the session goes on.
start "$state" --explain --each
keys '1+*2' && keys -k Enter
wait_tail "Operator adhesion"
keys 'Pi' && keys -k Enter
wait_screen "1+*2
1: stopped: 1+*2
1:            ^
Operator adhesion
Pi
2: read as: Pi
3.14159265358979"
keys -k C-d
wait_status 5
stop

# From a pipe --each is the plain filter, even with a terminal for its answers: the lines
# are not echoed, and a Tab is a blank of the expression.
rm -f "$scratch/status"
tmux_ new-session -d -s fexpr -x 250 -y 50 \
    "printf '2+\\n2\\t+1\\n' | '$fexpr' --each; echo \$? >'$scratch/status'; sleep 60"
wait_screen "The expression is incorrect
3"
wait_status 9
stop

if [ $failures -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all terminal checks passed"
