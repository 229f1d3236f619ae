# Sourced on a virtual screen by the scripts that drive the built meter as a
# user would: start_meter opens it and waits for its window, press clicks a
# point in that window.

start_meter() {
    build/default/src/wattmeter &
    meter=$!
    trap 'kill $meter 2>/dev/null || true' EXIT
    window=$(xdotool search --sync --onlyvisible --pid "$meter" | head -n 1)
    sleep 1
}

press() { # a point in window coordinates
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.3
}
