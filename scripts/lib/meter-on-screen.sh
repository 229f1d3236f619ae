# For scripts/screenshot, which drives the meter on a virtual screen as a user would.

start_meter() { # the command that runs the meter; the build's own if none
    [ $# -gt 0 ] || set -- build/default/src/wattmeter
    "$@" &
    meter=$!
    # Ended with the script, unless the script cleans up on its own.
    [ -n "$(trap -p EXIT)" ] || trap 'kill $meter 2>/dev/null || true' EXIT
    # Looked for again when xdotool fails on a window that went as it
    # looked (an installer's, say); given up after a minute.
    local tries=300
    until window=$(xdotool search --onlyvisible --name '^Power Measurement Example$' 2>/dev/null |
        head -n 1) && [ -n "$window" ]; do
        ((--tries)) || { echo "the meter's window did not show within a minute" >&2 && exit 1; }
        sleep 0.2
    done
    # Typing goes to the meter even with no window manager to focus it.
    xdotool windowfocus "$window"
    sleep 1
}

# At the keyboard, and the program must then end. (Keys sent to its window
# alone fail under wine 10: they are let go on no window, and the next
# meter's window never shows.)
close_meter() {
    xdotool windowfocus "$window" key alt+F4
    timeout 10 tail --pid="$meter" -f /dev/null ||
        { echo "the meter was still running 10 s after Alt+F4" >&2 && exit 1; }
}

press() { xdotool mousemove --window "$window" "$1" "$2" click 1 && sleep 0.3; } # a point in the window
