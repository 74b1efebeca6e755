# Sourced by the measuring scripts: a private Xvfb screen on a free display, ready before it is used, and a program
# folder of the built calendar in $work/prog.
XVFB_PID=${XVFB_PID:-}
make_program_folder() {
    mkdir -p "$work/prog" && cp build/tsukiban "$work/prog/" && cp -r build/Sample "$work/prog/"
}

start_xvfb() {
    local n
    for n in $(seq 70 99); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 200); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    echo "Xvfb did not start on :$n" >&2
    return 1
}
