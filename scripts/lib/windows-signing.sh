# Sourced by scripts/sign-windows: Authenticode signatures made with
# osslsigncode from a PKCS#12 certificate (WATTMETER_SIGNING_CERTIFICATE) and
# its password (signing_password, which the caller has read), time-stamped by
# an RFC 3161 server (WATTMETER_TIMESTAMP_URL) so that they stay valid after
# the certificate expires, and verified against WATTMETER_SIGNING_CA.

# Takes the settings and checks them before anything is signed. The password
# stays in a shell variable and reaches openssl and osslsigncode only on a
# pipe, never on a command line or in an environment.
take_signing_settings() {
    signing_certificate=${WATTMETER_SIGNING_CERTIFICATE-}
    timestamp_url=${WATTMETER_TIMESTAMP_URL-}
    signing_ca=${WATTMETER_SIGNING_CA:-/etc/ssl/certs/ca-certificates.crt}
    if [ -z "$signing_certificate" ]; then
        echo "WATTMETER_SIGNING_CERTIFICATE: no certificate given to sign with (see" \
            "docs/releasing.md)." >&2
        return 1
    fi
    if [ ! -f "$signing_certificate" ] || [ ! -r "$signing_certificate" ]; then
        echo "WATTMETER_SIGNING_CERTIFICATE: $signing_certificate is not a file that can be read." >&2
        return 1
    fi
    local said
    # -legacy: certificates exported by older tools use ciphers OpenSSL 3
    # reads only so, as osslsigncode does.
    if ! said=$(openssl pkcs12 -legacy -in "$signing_certificate" -noout \
        -passin fd:3 3< <(printf '%s' "$signing_password") 2>&1); then
        if grep -qi 'mac verify' <<<"$said"; then
            echo "WATTMETER_SIGNING_PASSWORD is not the password of the certificate in" \
                "$signing_certificate." >&2
        else
            echo "WATTMETER_SIGNING_CERTIFICATE: $signing_certificate is not a PKCS#12 file" \
                "(.pfx or .p12) that OpenSSL can read; it said:" >&2
            sed 's/^/    /' <<<"$said" >&2
        fi
        return 1
    fi
    if ! [[ ${WATTMETER_TIMESTAMP_TIMEOUT:-60} =~ ^[1-9][0-9]*$ ]]; then
        echo "WATTMETER_TIMESTAMP_TIMEOUT: \"$WATTMETER_TIMESTAMP_TIMEOUT\" is not a whole number" \
            "of seconds." >&2
        return 1
    fi
    if [ -z "$timestamp_url" ]; then
        echo "Signing without a time-stamp (no WATTMETER_TIMESTAMP_URL): the signatures will" \
            "expire with the certificate."
    elif ! [[ $timestamp_url =~ ^https?://[^/[:space:]]+(/[^[:space:]]*)?$ ]]; then
        echo "WATTMETER_TIMESTAMP_URL: \"$timestamp_url\" is not the http:// or https:// address" \
            "of a time-stamping server." >&2
        return 1
    fi
    if [ ! -r "$signing_ca" ]; then
        echo "WATTMETER_SIGNING_CA: $signing_ca is not a file of certificates that can be read." >&2
        return 1
    fi
    check_osslsigncode
}

# Debian 12's osslsigncode, 2.5, is the oldest these scripts were tried with.
check_osslsigncode() {
    local version
    version=$(osslsigncode --version 2>/dev/null | sed -n '1s/^osslsigncode \([0-9.]*\).*/\1/p')
    if [ -z "$version" ] || ! printf '%s\n' 2.5 "$version" | sort --version-sort --check=quiet; then
        echo "osslsigncode ${version:-is missing: it} is too old to sign the packages; 2.5 or" \
            "later (Debian 12's) is needed." >&2
        return 1
    fi
}

# Signs a file in place, dated the release day and time-stamped when a
# server is given; says why when it cannot.
sign_file() {
    local file=$1 log=build/windows-package/signing.log status=0
    # osslsigncode waits for ever on a server that takes the query and says
    # nothing; a time-stamping authority answers within seconds.
    # WATTMETER_TIMESTAMP_TIMEOUT, in seconds, is for the tests' silent one.
    local wait=${WATTMETER_TIMESTAMP_TIMEOUT:-60}
    local stamp=()
    [ -z "$timestamp_url" ] || stamp=(-ts "$timestamp_url")
    timeout "$wait" osslsigncode sign -pkcs12 "$signing_certificate" \
        -readpass <(printf '%s' "$signing_password") -h sha256 -n "Watt Hour Simulator" \
        -time "$(release_epoch)" "${stamp[@]}" -in "$file" -out "$file.signed" >"$log" 2>&1 ||
        status=$?
    if [ $status -eq 0 ]; then
        mv "$file.signed" "$file"
        return 0
    fi
    rm -f "$file.signed"
    if [ $status -eq 124 ]; then
        echo "The time-stamping server at $timestamp_url (WATTMETER_TIMESTAMP_URL) did not" \
            "answer within $wait s while $file was signed." >&2
    elif [ -n "$timestamp_url" ] && grep -qi 'timestamp' "$log"; then
        echo "Could not time-stamp $file at $timestamp_url (WATTMETER_TIMESTAMP_URL): is it" \
            "the address of an RFC 3161 time-stamping server, and can it be reached? The" \
            "signing tool said:" >&2
    else
        echo "Could not sign $file with the certificate in $signing_certificate: does it hold" \
            "a code-signing certificate with its key? The signing tool said:" >&2
    fi
    sed 's/^/    /' "$log" >&2
    return 1
}

# Verifies a signed file's signature, and its time-stamp where one was asked
# for, up to signing_ca, as Windows would.
verify_signature() {
    local file=$1 log=build/windows-package/signing.log
    local stamp=()
    [ -z "$timestamp_url" ] || stamp=(-TSA-CAfile "$signing_ca")
    if ! osslsigncode verify -CAfile "$signing_ca" "${stamp[@]}" -in "$file" >"$log" 2>&1 ||
        { [ -n "$timestamp_url" ] && ! grep -q 'Timestamp Server Signature verification: ok' "$log"; }; then
        echo "The signature${timestamp_url:+ or time-stamp} of $file does not verify against" \
            "$signing_ca (WATTMETER_SIGNING_CA); the signing tool said:" >&2
        sed 's/^/    /' "$log" >&2
        return 1
    fi
}

# The signature of a signed file, alone, as a release publishes it.
# In PEM: osslsigncode 2.5 and 2.9 write it alike, and each attaches it,
# where their raw forms differ (2.5 keeps the WIN_CERTIFICATE header, 2.9
# writes the bare PKCS#7) and neither attaches the other's.
extract_signature() {
    local file=$1 signature=$2 log=build/windows-package/signing.log
    if ! osslsigncode extract-signature -pem -in "$file" -out "$signature" >"$log" 2>&1; then
        echo "Could not take the signature out of $file; the signing tool said:" >&2
        sed 's/^/    /' "$log" >&2
        return 1
    fi
}
