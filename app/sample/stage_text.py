#!/usr/bin/env python3
"""Copies a UTF-8 text file of the sources into the program folder as the
program reads it: ANSI (code page 1252), every line ended by CR LF."""
import sys

source, target = sys.argv[1], sys.argv[2]
with open(source, encoding='utf-8') as f:
    lines = f.read().splitlines()
with open(target, 'wb') as f:
    f.write(''.join(line + '\r\n' for line in lines).encode('cp1252'))
