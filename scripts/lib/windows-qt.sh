# Qt for Windows, cross-built with mingw-w64 from Debian's qt6-base source of
# the Linux build's Qt, whose host tools it uses: ensure_windows_qt sets
# windows_qt to it, building it once into ~/.cache/wattmeter/.
# Only what the meter and its tests load: Core, Gui, Widgets, Test, the
# windows platform plugin and the Windows styles.
windows_qt_options=(
    -DBUILD_SHARED_LIBS=ON -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_dbus=OFF -DFEATURE_network=OFF -DFEATURE_opengl=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_sql=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF
    # No Direct2D platform plugin; Direct2D itself stays on, as the windows
    # plugin's DirectWrite font database is built only with it.
    -DFEATURE_direct2d1_1=OFF
    # No image format plugins: the meter draws its icons itself.
    -DFEATURE_imageformatplugin=OFF
    # Debian's source leaves out the tablet library's header.
    -DFEATURE_tabletevent=OFF
    # With OpenGL off, 6.4's windows plugin does not compile otherwise.
    -DFEATURE_dynamicgl=OFF
    # Otherwise the linker stamps each DLL's export table with the time of
    # the build, and no two builds of this Qt are the same bytes.
    -DCMAKE_SHARED_LINKER_FLAGS=-Wl,--no-insert-timestamp -DCMAKE_MODULE_LINKER_FLAGS=-Wl,--no-insert-timestamp
    # Otherwise Qt6Core holds its MIME database gzipped with the time of the
    # build; the meter looks up no MIME types, and Debian's Qt leaves it out.
    -DFEATURE_mimetype_database=OFF
    # Source paths in Qt's messages relative to the folder it was built in,
    # so that its DLLs do not depend on where that was. The folder stands in
    # as "<build folder>", here and in the record of the build.
    "-DCMAKE_C_FLAGS=-ffile-prefix-map=<build folder>/=" "-DCMAKE_CXX_FLAGS=-ffile-prefix-map=<build folder>/="
)

windows_qt_version() { dpkg-query -W -f='${source:Upstream-Version}' qt6-base-dev | sed 's/+.*//'; }

# The host Qt's CMake packages, through which the cross build finds its tools.
windows_qt_host_cmake_dir() {
    dirname "$(dirname "$(dpkg -L qt6-base-dev | grep '/Qt6HostInfoConfig.cmake$')")"
}

# A folder for each of all that it is built from: Debian's Qt version (with
# its Debian revision, which a security update raises), the options, the
# toolchain file and the compiler. Sets windows_qt and windows_qt_build.
windows_qt_folders() {
    local version key root=${XDG_CACHE_HOME:-$HOME/.cache}/wattmeter
    version=$(windows_qt_version)
    key=$({
        dpkg-query -W -f='${Version}\n' qt6-base-dev
        printf '%s\n' "${windows_qt_options[@]}"
        cat packaging/windows/mingw-w64.cmake
        x86_64-w64-mingw32-g++-posix --version 2>/dev/null | head -n 1
    } | sha256sum | cut -c1-12)
    windows_qt=$root/qt-$version-mingw64-$key
    windows_qt_build=$root/qt-build-$version-$key
}

ensure_windows_qt() {
    windows_qt_folders
    [ -f "$windows_qt/.complete" ] && return 0
    # One build at a time: a second run waits for the first and takes its Qt,
    # rather than deleting the half-built tree from under it.
    local lock status=0
    mkdir -p "$(dirname "$windows_qt")"
    exec {lock}>"$windows_qt.lock"
    flock --nonblock "$lock" ||
        { echo "Waiting for another run that is building Qt for Windows into $windows_qt" && flock "$lock"; }
    [ -f "$windows_qt/.complete" ] || build_windows_qt || status=1
    exec {lock}>&-
    return $status
}

build_windows_qt() {
    local work=$windows_qt_build version installed
    local log=$work/log
    version=$(windows_qt_version) installed=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    echo "Building Qt $version for Windows into $windows_qt (about 25 minutes on 2 cores; once per" \
        "machine); the log is $log"
    rm -rf "$work" "$windows_qt"
    mkdir -p "$work"
    # From the source of the Qt installed here, in the archive it came from.
    (cd "$work" && windows_qt_step "fetching the source" apt-get source -qq "qt6-base=$installed") &&
        windows_qt_step configuring cmake -S "$work"/qt6-base-*/ -B "$work/build" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$(realpath packaging/windows/mingw-w64.cmake)" -DQT_HOST_PATH=/usr \
            -DQT_HOST_PATH_CMAKE_DIR="$(windows_qt_host_cmake_dir)" -DCMAKE_INSTALL_PREFIX="$windows_qt" \
            "${windows_qt_options[@]//'<build folder>'/$work}" &&
        windows_qt_step building cmake --build "$work/build" &&
        windows_qt_step installing cmake --install "$work/build" || return 1
    # How this Qt was made, for the notice that goes with the programs built on it.
    {
        echo "Qt $version (qtbase), built from Debian's qt6-base $installed source package"
        echo "(apt-get source qt6-base=$installed) with" \
            "$(x86_64-w64-mingw32-g++-posix --version | head -n 1), configured with:"
        printf '    %s\n' "${windows_qt_options[@]}"
    } >"$windows_qt/wattmeter-build.txt"
    touch "$windows_qt/.complete"
    rm -rf "$work"
}

# A step of the build, into the log; on failure, the log's end.
windows_qt_step() { # what, command...
    "${@:2}" >>"$windows_qt_build/log" 2>&1 && return 0
    echo "Qt for Windows failed while $1; the whole log is $windows_qt_build/log:" >&2
    tail -n 30 "$windows_qt_build/log" | cut -c 1-300 >&2
    echo "Run the same script again to retry from the start." >&2
    return 1
}
