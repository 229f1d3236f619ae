# Building the meter for Windows against the Qt of windows-qt.sh, and a fresh
# wine prefix to run it in (cmake/wine_prefix.cmake, as the tests have), which
# goes with stop_wine, at the latest when the script ends or is interrupted.
# All of it in the Debian 13 root: a script runs itself again there first.
source scripts/lib/packages.sh
source scripts/lib/windows-qt.sh

in_debian_13() { [ -n "${WATTMETER_IN_DEBIAN_13:-}" ] || exec scripts/lib/in-debian-13 "$@"; } # this script

build_for_windows() {
    ensure_packages "${build_packages[@]}" "${windows_packages[@]}"
    ensure_windows_qt
    WATTMETER_WINDOWS_QT=$windows_qt WATTMETER_QT_HOST_CMAKE_DIR=$(windows_qt_host_cmake_dir)
    export WATTMETER_WINDOWS_QT WATTMETER_QT_HOST_CMAKE_DIR
    # A folder configured with another Qt stops here, naming both.
    cmake --preset windows >/dev/null
    cmake --build --preset windows
}

wine_prefix() { cmake -DACTION="$1" "${@:2}" -P cmake/wine_prefix.cmake; } # action, -D settings
start_wine() { # cmake -D settings of the prefix
    export WINEPREFIX=$PWD/build/wine WINEDEBUG=-all FONTCONFIG_FILE=$PWD/build/wine.fonts.conf
    at_exit stop_wine
    wine_prefix start "$@"
}
stop_wine() { [ -z "${WINEPREFIX:-}" ] || wine_prefix stop; }
