# A certificate authority made for one check and deleted after it. Sourced
# by the signing checks: make_throwaway_authority FOLDER makes in FOLDER the
# authority (ca.pem) and a code-signing certificate valid for three days with
# its key in a PKCS#12 file, and sets certificate to that file and password
# to its random password; make_certificate adds another certificate.

make_certificate() { # name, days, extended key usage
    openssl req -new -newkey rsa:3072 -nodes -subj "/CN=wattmeter test $1" \
        -keyout "$authority/$1-key.pem" -out "$authority/$1.csr" 2>/dev/null
    printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n' \
        "$3" >"$authority/$1.ext"
    openssl x509 -req -in "$authority/$1.csr" -CA "$authority/ca.pem" -CAkey "$authority/ca-key.pem" \
        -CAcreateserial -days "$2" -extfile "$authority/$1.ext" -out "$authority/$1.pem" 2>/dev/null
}

make_throwaway_authority() { # folder
    authority=$1
    password=$(head -c 18 /dev/urandom | base64)
    openssl req -x509 -newkey rsa:3072 -nodes -days 3650 -subj "/CN=wattmeter test authority" \
        -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
        -keyout "$authority/ca-key.pem" -out "$authority/ca.pem" 2>/dev/null
    make_certificate signer 3 codeSigning
    certificate=$authority/signer.p12
    openssl pkcs12 -export -inkey "$authority/signer-key.pem" -in "$authority/signer.pem" \
        -certfile "$authority/ca.pem" -out "$certificate" -passout fd:3 3< <(printf '%s' "$password")
}
