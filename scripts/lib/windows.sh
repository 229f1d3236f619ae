# Building the meter for Windows against the Qt of windows-qt.sh, in the
# Debian 13 root: a script runs itself again there first.
source scripts/lib/packages.sh
source scripts/lib/windows-qt.sh

in_debian_13() { [ -n "${WATTMETER_IN_DEBIAN_13:-}" ] || exec scripts/lib/in-debian-13 "$@"; } # this script

# Held by the calling script to its end: one Windows build and its packages
# in this checkout at a time, and the scripts it runs within it.
build_for_windows() {
    if [ -z "${WATTMETER_WINDOWS_BUILD_HELD:-}" ]; then
        exec {held}<.
        flock --nonblock "$held" ||
            { echo "Waiting for another run that is using this checkout's Windows build" && flock "$held"; }
        export WATTMETER_WINDOWS_BUILD_HELD=1
    fi
    ensure_packages "${build_packages[@]}" "${windows_packages[@]}"
    ensure_windows_qt
    WATTMETER_WINDOWS_QT=$windows_qt WATTMETER_QT_HOST_CMAKE_DIR=$(windows_qt_host_cmake_dir)
    export WATTMETER_WINDOWS_QT WATTMETER_QT_HOST_CMAKE_DIR
    # A folder configured with another Qt stops here, naming both. The
    # program alone: what the packages hold.
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target wattmeter
}

