"""Reads sealed copies written by the program with PyNaCl, following only
docs/backup-encryption.md, and checks that each gives the practice file byte for byte and that
a wrong passphrase is refused.

    open_sealed.py BACKUP_SEALFIXTURE
"""
import hashlib
import struct
import subprocess
import sys
import tempfile
import unicodedata
from pathlib import Path

from nacl import bindings as b
from nacl.exceptions import CryptoError
from nacl.pwhash import argon2id


def open_sealed(data, passphrase):
    if data[:8] != b"ORVSEAL\0":
        raise ValueError("not a sealed copy")
    if hashlib.blake2b(data[:80], digest_size=32).digest() != data[80:112]:
        raise ValueError("header damaged")
    version, alg, chunk, ops, mem, length = struct.unpack_from("<HHIQQQ", data, 8)
    if version != 1 or alg != 2:
        raise ValueError("unknown format")
    salt, stream_header, h = data[40:56], data[56:80], data[:112]
    pw = unicodedata.normalize("NFC", passphrase).encode("utf-8")
    key = argon2id.kdf(32, pw, salt, opslimit=ops, memlimit=mem)
    state = b.crypto_secretstream_xchacha20poly1305_state()
    b.crypto_secretstream_xchacha20poly1305_init_pull(state, stream_header, key)
    plain, tag = b.crypto_secretstream_xchacha20poly1305_pull(state, data[112:129], h)
    if plain != b"" or tag != b.crypto_secretstream_xchacha20poly1305_TAG_MESSAGE:
        raise ValueError("bad key check")
    n = max(1, -(-length // chunk))
    if len(data) != 129 + n * 25 + length:
        raise ValueError("wrong length")
    pos, out = 129, bytearray()
    for i in range(1, n + 1):
        size = min(chunk, length - (i - 1) * chunk)
        if struct.unpack_from("<Q", data, pos)[0] != i:
            raise ValueError("chunk out of order")
        msg = data[pos + 8: pos + 8 + size + 17]
        plain, tag = b.crypto_secretstream_xchacha20poly1305_pull(
            state, msg, h + struct.pack("<Q", i))
        if (tag == b.crypto_secretstream_xchacha20poly1305_TAG_FINAL) != (i == n):
            raise ValueError("final tag misplaced")
        out += plain
        pos += 8 + size + 17
    return bytes(out), n, (chunk, ops, mem)


def main():
    fixture = sys.argv[1]
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([fixture, tmp], check=True)
        folder = Path(tmp)
        practice = (folder / "data.mdb").read_bytes()
        passphrase = (folder / "passphrase.txt").read_text(encoding="utf-8")
        for name, expected_params in (("standard.sealed", (1048576, 3, 268435456)),
                                      ("small.sealed", None)):
            sealed = (folder / name).read_bytes()
            plain, chunks, params = open_sealed(sealed, passphrase)
            ok = plain == practice and plain[:16] == b"SQLite format 3\0"
            if expected_params and params != expected_params:
                ok = False
            print(f"{name}: {chunks} chunks, parameters {params}, "
                  f"{'identical' if ok else 'DIFFERENT'}")
            failures += not ok
            try:
                open_sealed(sealed, passphrase + " ")
                print(f"{name}: a wrong passphrase was NOT refused")
                failures += 1
            except CryptoError:
                pass
        if (folder / "small.sealed").stat().st_size < 2 * 4096:
            print("small.sealed should hold several chunks")
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
