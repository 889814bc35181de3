#!/usr/bin/env python3
"""Packs the portable zip from explicit members, under one top folder
"Sonoraflux". Each member is NAME=PATH (copied as is) or NAME=text:PATH (a
UTF-8 source text stored as the program reads it: code page 1252, CR LF).
A member NAME ending in "/" with no PATH is an empty folder.
Usage: make_zip.py ZIP MEMBER..."""
import os
import sys
import zipfile

TOP = 'Sonoraflux'


def ansi_text(path):
    with open(path, encoding='utf-8') as f:
        return ''.join(line + '\r\n' for line in f.read().splitlines()).encode('cp1252')


def main(target, members):
    os.makedirs(os.path.dirname(target), exist_ok=True)
    with zipfile.ZipFile(target + '.part', 'w', zipfile.ZIP_DEFLATED) as z:
        for member in members:
            name, _, source = member.partition('=')
            arcname = f'{TOP}/{name}'
            if not source:
                z.writestr(arcname, b'')
            elif source.startswith('text:'):
                z.writestr(arcname, ansi_text(source[len('text:'):]))
            else:
                z.write(source, arcname)
    os.replace(target + '.part', target)


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2:])
