#!/usr/bin/env python3
"""Copies C++ sources with their narrow string and character literals in
Windows-1254 bytes, written as octal escapes.

The program's sources are UTF-8 and GCC turns their literals into Windows-1254
(-fexec-charset=CP1254). Clang takes no execution character set but UTF-8, so
the fuzzing build, which needs clang's libFuzzer, compiles copies in which
every non-ASCII character of a narrow literal is already the escape of its
Windows-1254 byte: "Öğle" becomes "\\326\\360le". An octal escape ends after
three digits, so the character after it can never join it. Comments and code
outside literals are copied unchanged. A character that Windows-1254 lacks, or
a non-ASCII character in a wide, UTF or raw literal, stops the copy: such a
literal would not be the same bytes in both builds.

Usage: cp1254_literals.py SOURCE_ROOT TARGET_ROOT DIR...  copies every .cpp,
.h and .inc below SOURCE_ROOT/DIR (win32 folders left out) to
TARGET_ROOT/DIR; files whose converted
text is unchanged are not rewritten, so a build of the copies stays
incremental.
"""

import os
import sys


class ConversionError(Exception):
    pass


def _escape(ch, where):
    if ord(ch) < 0x80:
        return ch
    try:
        byte = ch.encode("cp1254")
    except UnicodeEncodeError:
        raise ConversionError(f"{where}: {ch!r} has no Windows-1254 byte")
    return "\\%03o" % byte[0]


def convert(text, name="<text>"):
    out = []
    i = 0
    n = len(text)
    line = 1

    def where():
        return f"{name}:{line}"

    while i < n:
        c = text[i]
        if c == "\n":
            line += 1
            out.append(c)
            i += 1
        elif text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(text[i:j])
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            line += text.count("\n", i, j)
            out.append(text[i:j])
            i = j
        elif c in "\"'":
            # The identifier characters just before the quote: an encoding
            # prefix (L, u, U, u8, with R for raw), a digit separator inside a
            # number, or nothing.
            k = len(out)
            prefix = ""
            while k > 0 and (out[k - 1].isalnum() or out[k - 1] == "_") and len(out[k - 1]) == 1:
                prefix = out[k - 1] + prefix
                k -= 1
            if c == "'" and prefix and prefix not in ("L", "u", "U", "u8"):
                out.append(c)  # 1'000'000
                i += 1
                continue
            if c == '"' and prefix.endswith("R") and prefix in ("R", "LR", "uR", "UR", "u8R"):
                open_paren = text.index("(", i)
                delimiter = ")" + text[i + 1 : open_paren] + '"'
                j = text.index(delimiter, open_paren) + len(delimiter)
                body = text[i:j]
                if any(ord(ch) >= 0x80 for ch in body):
                    raise ConversionError(f"{where()}: non-ASCII raw literal")
                line += body.count("\n")
                out.append(body)
                i = j
                continue
            narrow = prefix not in ("L", "u", "U", "u8")
            j = i + 1
            out.append(c)
            while j < n and text[j] != c:
                if text[j] == "\\":
                    out.append(text[j : j + 2])
                    j += 2
                    continue
                if text[j] == "\n":
                    raise ConversionError(f"{where()}: literal runs past the line end")
                if not narrow and ord(text[j]) >= 0x80:
                    raise ConversionError(f"{where()}: non-ASCII {prefix} literal")
                out.append(_escape(text[j], where()))
                j += 1
            if j >= n:
                raise ConversionError(f"{where()}: unterminated literal")
            out.append(c)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def copy_tree(source_root, target_root, dirs):
    written = 0
    for d in dirs:
        for folder, subdirs, files in os.walk(os.path.join(source_root, d)):
            # Windows code is neither fuzzed nor built with clang.
            subdirs[:] = [s for s in subdirs if s != "win32"]
            for f in files:
                if not f.endswith((".cpp", ".h", ".inc")):
                    continue
                src = os.path.join(folder, f)
                rel = os.path.relpath(src, source_root)
                dst = os.path.join(target_root, rel)
                with open(src, encoding="utf-8", newline="") as fh:
                    text = convert(fh.read(), rel)
                try:
                    with open(dst, encoding="ascii", errors="replace", newline="") as fh:
                        if fh.read() == text:
                            continue
                except FileNotFoundError:
                    pass
                os.makedirs(os.path.dirname(dst), exist_ok=True)
                with open(dst, "w", encoding="utf-8", newline="") as fh:
                    fh.write(text)
                written += 1
    return written


def self_test():
    cases = [
        ('"Öğle"', r'"\326\360le"'),
        ("'ş'", r"'\376'"),
        ('"Salâ\\n"', r'"Sal\342\n"'),
        ('"İ7"', r'"\3357"'),
        ("// Öğle\n", "// Öğle\n"),
        ("/* \"ş */ 'a'", "/* \"ş */ 'a'"),
        ("1'000 + 'ç'", r"1'000 + '\347'"),
        ('R"x(a"b)x" "ü"', r'R"x(a"b)x" "\374"'),
        ('"a\\"ı"', r'"a\"\375"'),
    ]
    for given, wanted in cases:
        got = convert(given)
        if got != wanted:
            raise SystemExit(f"self-test: {given!r} gave {got!r}, not {wanted!r}")
    for bad in ['L"ş"', 'u8"ş"', '"€ж"', 'R"(ş)"']:
        try:
            convert(bad)
        except ConversionError:
            continue
        raise SystemExit(f"self-test: {bad!r} was accepted")


def main(argv):
    self_test()
    if len(argv) == 2 and argv[1] == "--self-test":
        return 0
    if len(argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        written = copy_tree(argv[1], argv[2], argv[3:])
    except ConversionError as e:
        print(f"cp1254_literals: {e}", file=sys.stderr)
        return 1
    print(f"cp1254_literals: {written} file(s) rewritten")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
