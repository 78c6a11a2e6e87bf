# Sourced by the tests that use a program on a virtual display, as a user would.

# Starts Xvfb on a display of its own (its pid in xvfb) and exports DISPLAY.
start_virtual_display() {
    local work=$1
    exec 3<> "$work/display"
    # Without -noreset the server starts over whenever its last client goes:
    # a look for the window that ends before the program has connected would
    # refuse the program's connection while it does.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    # A loaded machine may take a while; a program started before the display
    # is there aborts.
    for _ in $(seq 600); do [ -s "$work/display" ] && break; sleep 0.1; done
    if [ ! -s "$work/display" ]; then
        echo "FAIL: Xvfb gave no display within a minute" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
    export DISPLAY=:$(head -n 1 "$work/display")
}

visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true; }

# Waits up to the given tenths of a second for the main window and prints its
# id. A first start says, before the window shows, that there is no catalogue
# and no profile yet: every such message is answered. No window manager runs,
# so windows are focused, not activated.
wait_for_main_window() {
    local tenths=$1 main box
    for _ in $(seq $((tenths / 2))); do
        main=$(visible "Corvane V 2.0")
        if [ -n "$main" ]; then
            echo "$main"
            return 0
        fi
        box=$(visible "Information")
        if [ -n "$box" ]; then
            xdotool windowfocus --sync "$box" 2>/dev/null && xdotool key Return || true
        fi
        sleep 0.2
    done
    return 1
}
