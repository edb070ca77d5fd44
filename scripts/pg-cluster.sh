#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests and benchmarks, from Debian's packages:
#   bash scripts/pg-cluster.sh start DIR   creates DIR/data (initdb) and starts it; prints the
#                                          connection text of its maintenance database
#   bash scripts/pg-cluster.sh stop DIR    stops it (DIR can then be removed)
# The server listens only on 127.0.0.1, on the first free port from 54320, with no password
# (trust, for this address only) and superuser "orvanta". It runs as the calling user, or, when
# that is root (which the server refuses), as "nobody", who then owns DIR.
# With ORVANTA_PG_TLS=1 the cluster takes connections only over TLS, with a server certificate
# (for 127.0.0.1 and localhost) from a throwaway certificate authority made in DIR/tls; the
# connection text then asks libpq to verify it (sslmode=verify-full, sslrootcert=DIR/tls/root.crt).
set -euo pipefail
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
[ -x "$bin/initdb" ] || { echo "PostgreSQL server binaries not found (scripts/setup.sh installs them)" >&2; exit 1; }
cmd=${1:-}
dir=${2:-}
[ -n "$cmd" ] && [ -n "$dir" ] || { echo "usage: $0 start|stop DIR" >&2; exit 2; }
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
as=()
if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$dir"
    as=(runuser -u nobody --)
fi

case $cmd in
start)
    if [ ! -f "$dir/data/PG_VERSION" ]; then
        "${as[@]}" "$bin/initdb" -D "$dir/data" -U orvanta --auth=trust -E UTF8 --locale=C.UTF-8 \
            >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    fi
    client_tls=""
    if [ "${ORVANTA_PG_TLS:-0}" = 1 ]; then
        tls=$dir/tls
        if [ ! -f "$tls/server.key" ]; then
            mkdir -p "$tls"
            openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Orvanta test CA" \
                -keyout "$tls/root.key" -out "$tls/root.crt" >/dev/null 2>&1
            openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" \
                -keyout "$tls/server.key" -out "$tls/server.csr" >/dev/null 2>&1
            printf 'subjectAltName=IP:127.0.0.1,DNS:localhost\n' >"$tls/san.ext"
            openssl x509 -req -in "$tls/server.csr" -CA "$tls/root.crt" -CAkey "$tls/root.key" \
                -CAcreateserial -days 2 -extfile "$tls/san.ext" -out "$tls/server.crt" \
                >/dev/null 2>&1
            rm -f "$tls/root.key" "$tls/server.csr" "$tls/san.ext"
            chmod 600 "$tls/server.key"
            [ "$(id -u)" -ne 0 ] || chown nobody "$tls/server.key" "$tls/server.crt"
            # In the cluster's own settings, so that a test that restarts it with pg_ctl keeps TLS.
            printf "ssl = on\nssl_cert_file = '%s'\nssl_key_file = '%s'\n" \
                "$tls/server.crt" "$tls/server.key" >>"$dir/data/postgresql.conf"
        fi
        # Only TLS from 127.0.0.1: a connection that does not ask for it is refused.
        sed -i -E 's/^host(\s)/hostssl\1/' "$dir/data/pg_hba.conf"
        client_tls=" sslmode=verify-full sslrootcert=$tls/root.crt"
    fi
    for port in $(seq 54320 54420); do
        if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then continue; fi
        if "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
            -o "-c listen_addresses=127.0.0.1 -p $port -c unix_socket_directories='' -c fsync=on -c max_connections=60" \
            start >/dev/null 2>&1; then
            echo "$port" >"$dir/port"
            echo "host=127.0.0.1 port=$port user=orvanta dbname=postgres$client_tls"
            exit 0
        fi
    done
    echo "the cluster in $dir did not start:" >&2
    tail -20 "$dir/server.log" >&2 || true
    exit 1
    ;;
stop)
    [ -f "$dir/data/postmaster.pid" ] || exit 0
    "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
    ;;
*)
    echo "usage: $0 start|stop DIR" >&2
    exit 2
    ;;
esac
