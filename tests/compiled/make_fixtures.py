#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the binary fixtures and the expected.out of every compile-and-run case.

Run once by hand after changing a case (`python3 tests/compiled/make_fixtures.py`) and read the
diff; with --check it writes nothing and fails when a file differs from what it would write
(a CTest test runs that). Every expected byte below is spelled out from the rules that the frame sources rely on,
never taken from a program's output. The frame sources themselves are ordinary files of the
case folders, with CR LF line ends.

How a block's text is cut: it starts after the line break that ends the header line and stops
before the line break that precedes the END_FRAME_TEXT line, so a block whose last line is
followed by the end line does not end with CR LF, while an empty line before the end line
leaves the CR LF of the last text line in the text.
"""

import os
import sys

import escaped

HERE = os.path.dirname(os.path.abspath(__file__))
CRLF = b"\r\n"

# Every byte value once, in order, then a CR LF pair and a NUL after it.
BLOB = bytes(range(256)) + CRLF + b"\x00"
# A, then 0xE9, NUL, 0x80 and 0xFF: the high bytes that the two languages read differently.
E9 = b"A\xe9\x00\x80\xff"
PART = b"ab" + CRLF + b"\xe9\x00"

# The last text line of the three report cases, as its raw bytes stand in the source:
# a tab, the UTF-8 bytes of e-acute and a lone 0xFF.
LONG = (b'tail="quotes" \\back\\slash\\ tab\there \xc3\xa9 \xff and a line long enough to be '
        b'broken at seventy characters, once or twice over.')

CPP_MSTRING_ID = b"5b2e8c41-7d3a-4f96-b0e2-6a18c9d47f35"
CPP_MVANTOR_ID = b"c0a7e3d2-9b14-4e58-a6f1-2d85b7c390e4"
JAVA_MSTRING_ID = b"46c9e2b7-0f1a-4d83-b5e6-9a27d3c8f014"
CS_MSTRING_ID = b"a3f6d018-5e92-4c7b-8d40-b19e27f5c6a8"
JAVA_CS_MVANTOR_ID = b"7e41b9a0-3c6d-4a27-9f85-e0d2c16b8a73"

EURO = "\u20ac".encode("utf-8")
# UTF-8 block text around UTF-8 values (a string, a frame, a char, an upper-cased MString);
# then a lone 0xFF, which reads back as U+FFFD.
UNICODE = ("text: \u00e4\u00f6\u00fc \u20ac value: Zo\u00eb \u4e2d \U0001F600 frame: \u00df "
           "char: \u00e9 upper: ZO\u00cb").encode("utf-8")
BROKEN = b"a\xffb"

# The embedded Piece: its header sets "[[" and "]]" as expression delimiters, n is 7.
PIECE = b"<part 7/>"


def cpp_report():
    # MString's number formats: %d, %ld, %u, %f for float and double, %Lf for long double;
    # a char is one byte, the NUL char too; short promotes to int.
    return (b'Report "all types"' + CRLF
            + b"int=-42;long=-1234567890123;unsigned=4000000000;char=Q;nul=\x00;short=7" + CRLF
            + b"float=3.500000;double=-0.250000;long double=10000000000.000000" + CRLF
            + b"text=plain C text;mstring=ms\x00x;part=" + PIECE + b";sum=-41" + CRLF
            + b"blob=" + BLOB + b";" + CRLF
            + LONG + CRLF)


def java_report():
    # MVantor numbers: piece 0, report 1. MString numbers: piece's empty text 0, piece's
    # setFrameText 1, report's empty text 2, new MString("ms") 3.
    # String.valueOf: 3.5f -> 3.5, -0.25 -> -0.25, 100.0 -> 100.0, true -> true.
    # U+20AC enters as its UTF-8 bytes.
    return (b'Report "all types" of MVantor ' + JAVA_CS_MVANTOR_ID + b"1" + CRLF
            + b"int=-42;long=-1234567890123;char=Q;nul=\x00;euro=" + EURO + CRLF
            + b"float=3.5;double=-0.25;whole=100.0;boolean=true" + CRLF
            + b"text=plain text;mstring=ms;id=" + JAVA_MSTRING_ID + b"3;part=" + PIECE
            + b";sum=-41" + CRLF
            + b"blob=" + BLOB + b";" + CRLF
            + LONG + CRLF)


def cs_report():
    # As in Java, but ToString: 100.0 -> 100 and true -> True.
    return (b'Report "all types" of MVantor ' + JAVA_CS_MVANTOR_ID + b"1" + CRLF
            + b"int=-42;long=-1234567890123;char=Q;nul=\x00;euro=" + EURO + CRLF
            + b"float=3.5;double=-0.25;whole=100;boolean=True" + CRLF
            + b"text=plain text;mstring=ms;id=" + CS_MSTRING_ID + b"3;part=" + PIECE
            + b";sum=-41" + CRLF
            + b"blob=" + BLOB + b";" + CRLF
            + LONG + CRLF)


def cpp_values():
    # bool promotes to int; char is one byte; signed and unsigned char, int8_t and uint8_t
    # promote to int and print digits; every other integer type prints its decimal digits;
    # float, double and long double print "%f"; a null C string is empty; std::string,
    # string_view and MString keep their NUL bytes, and so does the way back to std::string.
    # MVantor numbers: piece 0, its copy is not counted, values 1.
    return (b"bool=1,0;char=Q;nul=\x00;signed char=-5;unsigned char=200" + CRLF
            + b"short=-7;unsigned short=65535;int=-42;unsigned=4000000000" + CRLF
            + b"long=-1234567890123;unsigned long=42;size_t=3" + CRLF
            + b"long long=-9223372036854775808;unsigned long long=18446744073709551615" + CRLF
            + b"int8_t=-8;uint8_t=255;int64_t=-64;uint64_t=64" + CRLF
            + b"enum=0,5" + CRLF
            + b"float=3.500000;double=-0.250000;long double=10000000000.000000;tenth=0.300000;"
            + b"tiny=-0.000000" + CRLF
            + b"text=plain;null=;nullptr=;std::string=s\x00t;view=v\x00w" + CRLF
            + b"mstring=m\x00s;const=const+;frame=<piece/>" + CRLF
            + b"vector<string>=abc;vector<size_t>=120300" + CRLF
            + b"back=b\x00k;side=side file;number=" + CPP_MVANTOR_ID + b"1")


def cpp_global_count():
    return b"count=3"


def unicode_text():
    # The exported bytes, then getUnicodeText() of the frame and of the broken file printed
    # through a UTF-8 stream; the same in both languages and every locale.
    return UNICODE + CRLF + UNICODE + CRLF + "a\ufffdb".encode("utf-8")


def cpp_two_units():
    # MVantor counts live objects program-wide: right is 0, left (made while right lives) 1.
    # MString too: mstrFirst and mstrSecond are alive when left.cpp makes its probe, so 2.
    return (b"right=" + CPP_MVANTOR_ID + b"0" + CRLF
            + b"probe=" + CPP_MSTRING_ID + b"2" + CRLF
            + b"left=" + CPP_MVANTOR_ID + b"1;other=" + CPP_MVANTOR_ID + b"0;class=MVantor")


def cpp_free_block():
    # countDown(3) yields 2; its own block left no trace on the note.
    return b"note 2"


def java_values():
    # String.valueOf for every value, "null" for every null; byte and short go to the int
    # overload; case mapping in the root locale, also under tr_TR.
    return (b"int=-42;long=-1234567890123;char=Q;float=3.5;double=-0.25;boolean=true;byte=-5;"
            b"short=-7" + CRLF
            # Whole numbers and sixteenths as the shortest text that reads back, E from 10^7.
            + b"doubles=9999999.9375;-0.0625;100.0;0.1;1.0E7;9.765625E-4" + CRLF
            + b"Integer=7;Long=8;Character=c;Boolean=false;Double=1.5" + CRLF
            + b"null Integer=null;null MString=null;null String=null;null literal=null;"
            b"null Object=null" + CRLF
            + b"Object=sb;CharSequence=cs;enum=GREEN;List=[1, 2]" + CRLF
            + b"mstring=ms;frame=<piece/>;upper=TITLE I;lower=title i")


def cs_values():
    # ToString in the invariant culture for every value, also under de_DE (no decimal comma)
    # and tr_TR (no dotted capital I); every null is the empty text.
    return (b"int=-42;long=-1234567890123;char=Q;float=3.5;double=-0.25;bool=True;byte=200;"
            b"short=-7" + CRLF
            + b"doubles=9999999.9375;-0.0625;100;0.1;10000000;0.0009765625" + CRLF
            + b"uint=4000000000;ulong=123456789;decimal=1.50;enum=Green;nullable=7;real=1234.5"
            + CRLF
            + b"null nullable=;null object=;null string=;null literal=;null MString=" + CRLF
            + b"Object=sb;date=12/31/2026 23:59:58" + CRLF
            + b"mstring=ms;frame=<piece/>;upper=TITLE I;lower=title i")


def java_byte_e9():
    # Bytes widen with their sign: 0xE9 -> U+FFE9 (65513), 0x80 -> U+FF80 (65408),
    # 0xFF -> U+FFFF (65535); written back as their low bytes.
    return (b"length=5" + CRLF
            + b"codes=65,65513,0,65408,65535" + CRLF
            + b"back=" + E9 + CRLF
            + b"copy=" + E9)


def cs_byte_e9():
    # Each byte becomes the character of the same number.
    return (b"length=5" + CRLF
            + b"codes=65,233,0,128,255" + CRLF
            + b"back=" + E9 + CRLF
            + b"copy=" + E9)


def java_import_replaces():
    # Each import replaces the text; the missing file leaves "kept" as it was.
    return (b"twice=" + PART + b";length=6" + CRLF
            + b"head=" + PART + CRLF
            + b"kept=kept")


def cs_import_appends():
    # Each import appends to the text; the missing file leaves "kept" as it was.
    return (b"twice=" + PART + PART + b";length=12" + CRLF
            + b"head=head:" + PART + CRLF
            + b"kept=kept")


CASES = {
    "cpp_report": (cpp_report, {"blob.bin": BLOB}),
    "java_report": (java_report, {"blob.bin": BLOB}),
    "cs_report": (cs_report, {"blob.bin": BLOB}),
    "cpp_two_units": (cpp_two_units, {}),
    "cpp_values": (cpp_values, {}),
    "cpp_free_block": (cpp_free_block, {}),
    "cpp_global_count": (cpp_global_count, {}),
    "java_unicode": (unicode_text, {"broken.bin": BROKEN}),
    "cs_unicode": (unicode_text, {"broken.bin": BROKEN}),
    "java_values": (java_values, {}),
    "cs_values": (cs_values, {}),
    "java_byte_e9": (java_byte_e9, {"e9.bin": E9}),
    "cs_byte_e9": (cs_byte_e9, {"e9.bin": E9}),
    "java_import_replaces": (java_import_replaces, {"part.bin": PART}),
    "cs_import_appends": (cs_import_appends, {"part.bin": PART}),
    # Read back by escaped.py instead of compared.
    "cpp_escaped": (None, {"values.bin": escaped.values_bin()}),
    "java_escaped": (None, {"values.bin": escaped.values_bin()}),
    "cs_escaped": (None, {"values.bin": escaped.values_bin()}),
}


def main(check):
    stale = []
    for case, (expected, fixtures) in CASES.items():
        folder = os.path.join(HERE, case)
        outputs = [("expected.out", expected())] if expected else []
        for name, data in list(fixtures.items()) + outputs:
            path = os.path.join(folder, name)
            if check:
                with open(path, "rb") as f:
                    if f.read() != data:
                        stale.append(os.path.relpath(path, HERE))
            else:
                with open(path, "wb") as f:
                    f.write(data)
    for path in stale:
        print("%s is not what make_fixtures.py writes" % path)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:] == ["--check"]))
