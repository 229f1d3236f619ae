# The steps that make the Windows packages, the same bytes for the same
# folder so that a release can be rebuilt; from the build's package.env.
# Every time stamp is the release day's, as in the Debian package: in the
# files, in the programs' headers, which strip sets, and in the signatures.
release_epoch() {
    date --utc --date "$release_date 12:00" +%s
}

stamp_release_day() {
    find "$1" -exec touch --no-dereference --date "@$(release_epoch)" {} +
}

# The zip and the installer of a folder, into the folder given second.
pack_windows_folder() {
    local stage=$1 out=$2
    local name=wattmeter-$version-win64
    mkdir -p "$out"
    local zip
    zip=$(realpath "$out")/$name.zip
    rm -f "$zip" "$out/$name.msi"
    (cd "$stage/.." && find wattmeter | LC_ALL=C sort | TZ=UTC zip -q -X -D -9 "$zip" -@)
    # The rest of the folder beside the program, its folders numbered in
    # order (wixl-heat names them at random) and its files 64-bit. wixl's time
    # and random package code are set again: the time stopped (faketime -f) at
    # noon of the release day, the code made from what the folder holds.
    local listing=$out/folder.wxs code
    find "$stage" -type f ! -path "$stage/wattmeter.exe" | LC_ALL=C sort |
        wixl-heat --prefix "$stage/" --directory-ref INSTALLDIR --component-group Folder \
            --var var.SourceDir |
        awk '/<Directory Id="dir/ { sub(/Id="dir[0-9A-F]*"/, "Id=\"dir" ++folders "\"") }
             /<Component / { sub(/<Component /, "<Component Win64=\"yes\" ") }
             { print }' >"$listing"
    TZ=UTC faketime -f "$release_date 12:00:00" wixl --arch x64 --define SourceDir="$stage" \
        --output "$out/$name.msi" build/windows/packaging/windows/wattmeter.wxs "$listing"
    code=$( (cd "$stage" && find . -type f | LC_ALL=C sort | xargs sha256sum) | sha256sum |
        sed -E 's/^(.{8})(.{4}).(.{3}).(.{3})(.{12}).*/{\1-\2-5\3-8\4-\5}/' | tr a-f A-F)
    TZ=UTC faketime -f "$release_date 12:00:00" msibuild "$out/$name.msi" \
        -s "Watt Hour Simulator: a desktop electricity meter" "wattmeter developers" "x64;1033" "$code"
}
