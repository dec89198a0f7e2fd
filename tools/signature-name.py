#!/usr/bin/env python3
"""Gives an Authenticode-signed PE file's signature its program name in Unicode.

    signature-name.py SIGNED_IN OUT NAME -- SIGN_COMMAND...

Windows shows the program name of the signature (SpcSpOpusInfo) in its consent
prompt. The name is an SpcString: a BMPString (UTF-16) or an IA5String (7-bit
ASCII); only the first can hold Japanese. The name is written as a BMPString
into the signed attributes, SIGN_COMMAND signs their DER encoding (given on its
standard input, signature on its standard output), and the file's certificate
table and checksum are rewritten around the new signature. The hash of the
program itself does not cover either, so it stays valid.
"""
import os
import struct
import subprocess
import sys

OPUS_INFO = bytes.fromhex("060a2b06010401823702010c")  # OID 1.3.6.1.4.1.311.2.1.12
SEQUENCE, SET, OCTET_STRING, CONTEXT_0, BMP_0 = 0x30, 0x31, 0x04, 0xA0, 0x80


def fail(message):
    sys.exit("signature-name: " + message)


def header(der, at):
    """Tag, first content byte and end of the DER element at `at`."""
    if at + 2 > len(der):
        fail("signature cut short")
    tag, first = der[at], der[at + 1]
    if first < 0x80:
        start, length = at + 2, first
    else:
        count = first & 0x7F
        start = at + 2 + count
        length = int.from_bytes(der[at + 2:start], "big")
    if start + length > len(der):
        fail("signature cut short")
    return tag, start, start + length


def elements(der, start, end):
    """The elements inside [start, end) as (tag, encoding, content start, content end)."""
    found = []
    while start < end:
        tag, content, stop = header(der, start)
        found.append((tag, der[start:stop], content, stop))
        start = stop
    return found


def encode(tag, content):
    length = len(content)
    if length < 0x80:
        return bytes([tag, length]) + content
    size = length.to_bytes((length.bit_length() + 7) // 8, "big")
    return bytes([tag, 0x80 | len(size)]) + size + content


def inside(der, tag):
    found, content, end = header(der, 0)
    if found != tag:
        fail("unexpected element %#x in the signature" % found)
    return elements(der, content, end)


def renamed(pkcs7, name, sign):
    # ContentInfo { contentType, [0] SignedData { ..., signerInfos SET } }
    content_info = inside(pkcs7, SEQUENCE)
    signed_data = inside(inside(content_info[1][1], CONTEXT_0)[0][1], SEQUENCE)
    signers = inside(signed_data[-1][1], SET)
    if len(signers) != 1:
        fail("expected one signer, found %d" % len(signers))
    signer = inside(signers[0][1], SEQUENCE)
    if signer[-1][0] != OCTET_STRING:
        fail("the signature already carries unsigned attributes (a time stamp?)")
    attributes = [a for a in signer if a[0] == CONTEXT_0]
    if len(attributes) != 1:
        fail("the signature has no signed attributes")
    kept = [a[1] for a in inside(attributes[0][1], CONTEXT_0) if not a[1][2:].startswith(OPUS_INFO)]
    # SpcSpOpusInfo { programName [0] EXPLICIT SpcString { unicode [0] IMPLICIT BMPString } }
    opus = encode(SEQUENCE, encode(CONTEXT_0, encode(BMP_0, name.encode("utf-16-be"))))
    kept.append(encode(SEQUENCE, OPUS_INFO + encode(SET, opus)))
    # DER orders a SET OF by its members' encodings, shorter ones padded with zeros.
    width = max(map(len, kept))
    joined = b"".join(sorted(kept, key=lambda a: a.ljust(width, b"\0")))
    signature = sign(encode(SET, joined))

    fields = []
    for tag, encoding, _, _ in signer:
        if tag == CONTEXT_0:
            encoding = encode(CONTEXT_0, joined)
        elif tag == OCTET_STRING:
            encoding = encode(OCTET_STRING, signature)
        fields.append(encoding)
    signers = encode(SET, encode(SEQUENCE, b"".join(fields)))
    signed_data = encode(SEQUENCE, b"".join(e[1] for e in signed_data[:-1]) + signers)
    return encode(SEQUENCE, content_info[0][1] + encode(CONTEXT_0, signed_data))


def pe_checksum(data, field):
    """The PE checksum: 16-bit one's-complement-style sum, its own field skipped, plus the length."""
    padded = data + b"\0" * (len(data) & 1)
    words = struct.unpack("<%dH" % (len(padded) // 2), padded)
    total = sum(words) - words[field // 2] - words[field // 2 + 1]
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


def main():
    if len(sys.argv) < 6 or sys.argv[4] != "--":
        sys.exit(__doc__.split("\n\n")[1])
    source, target = sys.argv[1], sys.argv[2]
    name = os.fsencode(sys.argv[3]).decode("utf-8")  # whatever the locale
    command = sys.argv[5:]

    def sign(data):
        signer = subprocess.run(command, input=data, stdout=subprocess.PIPE)
        if signer.returncode != 0 or not signer.stdout:
            fail("%s could not sign the attributes" % command[0])
        return signer.stdout

    data = bytearray(open(source, "rb").read())
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    checksum_at = optional + 64
    security_at = optional + (128 if magic == 0x10B else 144)  # data directory 4
    table, size = struct.unpack_from("<II", data, security_at)
    if size == 0 or table + size != len(data):
        fail("%s carries no certificate table at its end" % source)
    length, revision, kind = struct.unpack_from("<IHH", data, table)
    if kind != 2 or length != size:
        fail("%s carries other certificates than one PKCS#7 signature" % source)
    pkcs7 = bytes(data[table + 8:table + length])
    pkcs7 = pkcs7[:header(pkcs7, 0)[2]]  # without the padding to 8 bytes

    pkcs7 = renamed(pkcs7, name, sign)
    padding = b"\0" * (-len(pkcs7) % 8)
    # The length counts the padding, as osslsigncode writes it.
    entry = struct.pack("<IHH", 8 + len(pkcs7) + len(padding), revision, kind) + pkcs7 + padding
    del data[table:]
    data += entry
    struct.pack_into("<I", data, security_at + 4, len(entry))
    struct.pack_into("<I", data, checksum_at, pe_checksum(bytes(data), checksum_at))
    with open(target, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
