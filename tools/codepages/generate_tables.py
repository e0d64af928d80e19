#!/usr/bin/env python3
"""Writes core/codecs/ZRCodePageTables.cpp: the built-in code-page tables and the charset-name table.

Run once from the repository root; the generated source is committed:
    python3 tools/codepages/generate_tables.py > core/codecs/ZRCodePageTables.cpp

The mappings come from Python 3's own codecs (cp874, cp932, cp936, cp949, cp950, cp1250 to cp1258).
Where the Windows code page differs from the codec, the difference is applied below by hand:
  - 936: the byte 0x80 is the euro sign U+20AC (the codec, plain GBK, leaves it undefined).
  - 950: the block C6A1-C8FE is user-defined, as FA40-FEFE and 8140-A0FE are; the codec fills it
    with another Big5 variant's kana, Cyrillic and symbols. Its codes are left out both ways.
The lead bytes are those of the Windows code page, rows that map nothing included (932's 85, 86, EB,
EC and EF, 949's C9 and FE, 950's 81-A0, C7, C8 and FA-FE).
Codes above a page's maximum character code, and characters above its maximum Unicode, are left out,
so that the tables agree with the headers.

Table layout (see core/codecs/ZRCodePage.h):
  - first index: 256 entries {count, value}; count 0: a single byte whose character is value
    (0xFEFF: not a character); count > 0: a lead byte whose second bytes are described by `count`
    ranges starting at entry `value` of the second index.
  - second index: {first second byte, kind, data offset}; entry 0 covers every second byte with no
    character and serves the lead bytes whose row maps nothing; then one range per other lead byte
    from its lowest second byte on.
  - unicode ranges: {first, last, kind, offset}, one range for each block of 256 characters, and a
    block index of 257 entries: for each block, the range that holds it.
    Kind 1: the value at data[offset + d]; kind 3: not characters (the rows and blocks without any).
    Offsets count 16-bit units. Holes inside a kind-1 range hold 0xFEFF.
"""

import sys

# header: (code page, max bytes, max character code, max Unicode)
PAGES = [
    (874, 1, 0xFB, 0x20AC),
    (932, 2, 0xFC4B, 0xFFE5),
    (936, 2, 0xFE4F, 0xFFE5),
    (949, 2, 0xFDFE, 0xFFE6),
    (950, 2, 0xF9FE, 0xFFE5),
    (1250, 1, 0xFF, 0x2122),
    (1251, 1, 0xFF, 0x2122),
    (1252, 1, 0xFF, 0x2122),
    (1253, 1, 0xFE, 0x2122),
    (1254, 1, 0xFF, 0x2122),
    (1255, 1, 0xFE, 0x2122),
    (1256, 1, 0xFF, 0x2122),
    (1257, 1, 0xFF, 0x2122),
    (1258, 1, 0xFF, 0x2122),
]

# The lead bytes of the double-byte pages. Each takes the byte after it, whether or not its row maps
# anything: read alone, it would take that byte for the start of the next character.
LEAD_BYTES = {
    932: set(range(0x81, 0xA0)) | set(range(0xE0, 0xFD)),
    936: set(range(0x81, 0xFF)),
    949: set(range(0x81, 0xFF)),
    950: set(range(0x81, 0xFF)),
}

# Bytes whose Windows meaning differs from the codec's.
OVERRIDES = {936: {0x80: 0x20AC}}

# User-defined blocks that the codec fills with characters of its own: (first code, last code).
USER_DEFINED = {950: [(0xC6A1, 0xC8FE)]}

# Charset names, matched without regard to the case of A to Z. Mostly the encoding labels that web
# content uses (so "iso-8859-1", "ascii" and "us-ascii" read as windows-1252, as browsers read them),
# with the Windows, IBM and Macintosh names beside them.
NAMES = {
    65001: ["utf-8", "utf8", "unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8", "x-unicode20utf8"],
    65000: ["utf-7", "unicode-1-1-utf-7", "csunicode11utf7"],
    1200: ["utf-16", "utf-16le", "unicode", "ucs-2", "iso-10646-ucs-2", "csunicode"],
    1201: ["utf-16be", "unicodefffe"],
    1250: ["windows-1250", "cp1250", "x-cp1250"],
    1251: ["windows-1251", "cp1251", "x-cp1251"],
    1252: ["windows-1252", "cp1252", "x-cp1252", "x-ansi", "ansi_x3.4-1968", "ascii", "us-ascii", "cp819",
           "csisolatin1", "ibm819", "iso-8859-1", "iso-ir-100", "iso8859-1", "iso88591", "iso_8859-1",
           "iso_8859-1:1987", "l1", "latin1"],
    1253: ["windows-1253", "cp1253", "x-cp1253"],
    1254: ["windows-1254", "cp1254", "x-cp1254", "csisolatin5", "iso-8859-9", "iso-ir-148", "iso8859-9",
           "iso88599", "iso_8859-9", "iso_8859-9:1989", "l5", "latin5"],
    1255: ["windows-1255", "cp1255", "x-cp1255"],
    1256: ["windows-1256", "cp1256", "x-cp1256"],
    1257: ["windows-1257", "cp1257", "x-cp1257"],
    1258: ["windows-1258", "cp1258", "x-cp1258"],
    874: ["windows-874", "cp874", "dos-874", "iso-8859-11", "iso8859-11", "iso885911", "tis-620"],
    932: ["shift_jis", "shift-jis", "sjis", "x-sjis", "ms_kanji", "csshiftjis", "windows-31j", "ms932", "cp932"],
    936: ["gbk", "gb2312", "gb_2312", "gb_2312-80", "csgb2312", "csiso58gb231280", "iso-ir-58", "chinese",
          "x-gbk", "cp936", "ms936", "windows-936"],
    949: ["euc-kr", "cseuckr", "csksc56011987", "iso-ir-149", "korean", "ks_c_5601-1987", "ks_c_5601-1989",
          "ksc5601", "ksc_5601", "cp949", "windows-949"],
    950: ["big5", "big5-hkscs", "cn-big5", "csbig5", "x-x-big5", "cp950", "ms950", "windows-950"],
    1361: ["johab"],
    28592: ["iso-8859-2", "csisolatin2", "iso-ir-101", "iso8859-2", "iso88592", "iso_8859-2", "iso_8859-2:1987",
            "l2", "latin2"],
    28593: ["iso-8859-3", "csisolatin3", "iso-ir-109", "iso8859-3", "iso88593", "iso_8859-3", "l3", "latin3"],
    28594: ["iso-8859-4", "csisolatin4", "iso-ir-110", "iso8859-4", "iso88594", "iso_8859-4", "l4", "latin4"],
    28595: ["iso-8859-5", "csisolatincyrillic", "cyrillic", "iso-ir-144", "iso8859-5", "iso88595", "iso_8859-5"],
    28596: ["iso-8859-6", "arabic", "asmo-708", "csiso88596e", "csiso88596i", "csisolatinarabic", "ecma-114",
            "iso-8859-6-e", "iso-8859-6-i", "iso-ir-127", "iso8859-6", "iso88596", "iso_8859-6"],
    28597: ["iso-8859-7", "csisolatingreek", "ecma-118", "elot_928", "greek", "greek8", "iso-ir-126",
            "iso8859-7", "iso88597", "iso_8859-7"],
    28598: ["iso-8859-8", "csiso88598e", "csisolatinhebrew", "hebrew", "iso-8859-8-e", "iso-ir-138",
            "iso8859-8", "iso88598", "iso_8859-8", "visual"],
    38598: ["iso-8859-8-i", "csiso88598i", "logical"],
    28605: ["iso-8859-15", "csisolatin9", "iso8859-15", "iso885915", "iso_8859-15", "l9", "latin9"],
    20866: ["koi8-r", "cskoi8r", "koi", "koi8", "koi8_r"],
    21866: ["koi8-u", "koi8-ru"],
    866: ["ibm866", "866", "cp866", "csibm866"],
    437: ["ibm437", "cp437", "437", "cspc8codepage437"],
    850: ["ibm850", "cp850", "850"],
    852: ["ibm852", "cp852"],
    857: ["ibm857", "cp857"],
    861: ["ibm861", "cp861"],
    862: ["dos-862", "ibm862", "cp862"],
    869: ["ibm869", "cp869"],
    737: ["ibm737", "cp737"],
    775: ["ibm775", "cp775"],
    720: ["dos-720"],
    708: ["x-asmo-708"],
    37: ["ibm037", "cp037", "ebcdic-cp-us"],
    870: ["ibm870"],
    875: ["cp875"],
    1026: ["ibm1026"],
    1140: ["ibm01140"], 1141: ["ibm01141"], 1142: ["ibm01142"], 1143: ["ibm01143"], 1144: ["ibm01144"],
    1145: ["ibm01145"], 1146: ["ibm01146"], 1147: ["ibm01147"], 1148: ["ibm01148"], 1149: ["ibm01149"],
    10000: ["macintosh", "mac", "csmacintosh", "x-mac-roman"],
    10001: ["x-mac-japanese"], 10002: ["x-mac-chinesetrad"], 10003: ["x-mac-korean"],
    10004: ["x-mac-arabic"], 10005: ["x-mac-hebrew"], 10006: ["x-mac-greek"],
    10007: ["x-mac-cyrillic", "x-mac-ukrainian"], 10008: ["x-mac-chinesesimp"],
    10029: ["x-mac-ce"], 10079: ["x-mac-icelandic"], 10081: ["x-mac-turkish"],
    20000: ["x-chinese-cns"], 20002: ["x-chinese-eten"],
    20105: ["x-ia5"], 20106: ["x-ia5-german"], 20107: ["x-ia5-swedish"], 20108: ["x-ia5-norwegian"],
    20127: ["x-ascii"],
    20273: ["ibm273"], 20277: ["ibm277"], 20278: ["ibm278"], 20280: ["ibm280"], 20284: ["ibm284"],
    20285: ["ibm285"], 20290: ["ibm290"], 20420: ["ibm420"], 20423: ["ibm423"], 20424: ["ibm424"],
    20833: ["x-ebcdic-koreanextended"], 20838: ["ibm-thai"], 20871: ["ibm871"], 20880: ["ibm880"],
    20905: ["ibm905"], 21025: ["cp1025"], 29001: ["x-europa"],
    28591: ["iso-8859-1-i"],
    28599: ["iso-8859-9-i"],
    50221: ["csiso2022jp", "iso-2022-jp"], 50222: ["_iso-2022-jp$sio"], 50225: ["iso-2022-kr", "csiso2022kr"],
    50930: ["x-ebcdic-japanese"], 50931: ["x-ebcdic-japaneseandusascii"], 50933: ["x-ebcdic-koreanandkoreanextended"],
    50935: ["x-ebcdic-simplifiedchinese"], 50937: ["x-ebcdic-traditionalchinese"],
    50939: ["x-ebcdic-japaneseandjapaneselatin"],
    51932: ["euc-jp", "cseucpkdfmtjapanese", "x-euc-jp"], 51936: ["euc-cn", "x-euc-cn"], 51949: ["euc-kr-2"],
    52936: ["hz-gb-2312"],
    57002: ["x-iscii-de"], 57003: ["x-iscii-be"], 57004: ["x-iscii-ta"], 57005: ["x-iscii-te"],
    57006: ["x-iscii-as"], 57007: ["x-iscii-or"], 57008: ["x-iscii-ka"], 57009: ["x-iscii-ma"],
    57010: ["x-iscii-gu"], 57011: ["x-iscii-pa"],
}

NOT_A_CHARACTER = 0xFEFF


def decode_one(codec, data):
    try:
        text = bytes(data).decode(codec)
    except UnicodeDecodeError:
        return None
    return ord(text) if len(text) == 1 else None


def page_maps(number, max_bytes, max_code, max_unicode):
    """byte-to-Unicode {code: unicode} and Unicode-to-byte {unicode: code}."""
    codec = "cp%d" % number
    decode = {}
    leads = LEAD_BYTES.get(number, set())
    for b in range(256):
        u = OVERRIDES.get(number, {}).get(b, decode_one(codec, [b]))
        if u is not None:
            assert b not in leads, "the codec reads a lead byte alone: %02X" % b
            decode[b] = u
        elif max_bytes == 2:
            for s in range(256):
                pair = decode_one(codec, [b, s])
                if pair is not None:
                    assert b in leads, "the codec has a lead byte the page lacks: %02X" % b
                    decode[b << 8 | s] = pair
    user_defined = USER_DEFINED.get(number, [])
    decode = {c: u for c, u in decode.items()
              if c <= max_code and u <= max_unicode and not any(lo <= c <= hi for lo, hi in user_defined)}
    encode = {}
    for u in range(max_unicode + 1):
        if 0xD800 <= u <= 0xDFFF:
            continue
        try:
            data = chr(u).encode(codec)
        except UnicodeEncodeError:
            continue
        code = int.from_bytes(data, "big")
        if len(data) <= max_bytes and decode.get(code) == u:
            encode[u] = code
    for b, u in OVERRIDES.get(number, {}).items():
        encode.setdefault(u, b)
    return decode, leads, encode


def unicode_segments(encode):
    """The character ranges: one table for each block of 256 that holds a character, so that the
    block index leads straight to a character's range; kind 3 for the blocks between."""
    result = []
    for block in range(min(encode) >> 8, (max(encode) >> 8) + 1):
        low, high = block << 8, min((block << 8) | 0xFF, max(encode))
        if any(low <= u <= high for u in encode):
            result.append([low, high, 1, [encode.get(u, NOT_A_CHARACTER) for u in range(low, high + 1)]])
        elif result and result[-1][2] == 3:
            result[-1][1] = high
        else:
            result.append([low, high, 3, []])
    return result


def hash_name(name):
    h = 0
    for ch in name:
        c = ord(ch)
        if ord("A") <= c <= ord("Z"):
            c += 32
        if c >= 0x80:
            c -= 0x100
        h = (h * 31 + c) & 0xFFFFFFFF
    return h


def emit_array(out, ctype, name, values, per_line=12):
    out.append("const %s %s[] = {" % (ctype, name))
    for i in range(0, len(values), per_line):
        out.append("    " + ", ".join(values[i:i + per_line]) + ",")
    out.append("};")


def emit_page(out, number, max_bytes, max_code, max_unicode):
    decode, leads, encode = page_maps(number, max_bytes, max_code, max_unicode)
    first, second, byte_data = [], ["{0x00, 3, 0}"], []
    for b in range(256):
        if b not in leads:
            first.append("{0, 0x%04X}" % decode.get(b, NOT_A_CHARACTER))
            continue
        seconds = {c & 0xFF: u for c, u in decode.items() if c >> 8 == b}
        if not seconds:
            first.append("{1, 0}")
            continue
        # One table from the lowest second byte on: a lookup is a single step.
        low = min(seconds)
        first.append("{1, %d}" % len(second))
        second.append("{0x%02X, 1, %d}" % (low, len(byte_data)))
        byte_data.extend(seconds.get(s, NOT_A_CHARACTER) for s in range(low, 0x100))
    unicode_ranges, unicode_data, lasts = [], [], []
    for lo, hi, kind, values in unicode_segments(encode):
        unicode_ranges.append("{0x%04X, 0x%04X, %d, %d}" % (lo, hi, kind, len(unicode_data)))
        unicode_data.extend(values)
        lasts.append(hi)
    # For each block of 256 characters, the range that holds it (the count past the last one).
    blocks = [next((i for i, last in enumerate(lasts) if last >= block << 8), len(lasts)) for block in range(257)]
    for data in (byte_data, unicode_data):
        assert len(data) < 0x10000, "a data block outgrows its 16-bit offsets"
        if not data:
            data.append(NOT_A_CHARACTER)
    double = max_bytes == 2
    out.append("// Code page %d: %d characters, %d encodable." % (number, len(decode), len(encode)))
    out.append("const _ZR_CODEPAGE_HEADER header%d = {%d, 1, %d, %d, %d, 0, 0x%X, 0x3F, 0, 0x%X, 0x3F};" % (
        number, number, max_bytes, 2 if double else 1, 1 if double else 0, max_code, max_unicode))
    emit_array(out, "_ZR_CODEPAGE_BYTEINDEX", "firstIndex%d" % number, first, 8)
    emit_array(out, "_ZR_CODEPAGE_BYTERANGE", "secondIndex%d" % number, second, 6)
    emit_array(out, "uint16_t", "byteData%d" % number, ["0x%04X" % v for v in byte_data])
    emit_array(out, "_ZR_CODEPAGE_UNICODERANGE", "unicodeRanges%d" % number, unicode_ranges, 4)
    emit_array(out, "uint16_t", "unicodeData%d" % number, ["0x%04X" % v for v in unicode_data])
    emit_array(out, "uint16_t", "unicodeBlocks%d" % number, [str(b) for b in blocks], 16)
    return len(unicode_ranges)


def main():
    out = ["// Generated by tools/codepages/generate_tables.py from Python's codecs; do not edit by hand.",
           '#include "codecs/ZRCodePage.h"', "", "namespace {", ""]
    counts = {}
    for page in PAGES:
        counts[page[0]] = emit_page(out, *page)
        out.append("")
    out.append("} // namespace")
    out.append("")
    out.append("const _ZR_CODEPAGE g_ZRCodePageDirectory[ZR_CODEPAGE_COUNT] = {")
    for number, *_ in PAGES:
        out.append("    {&header%d, firstIndex%d, secondIndex%d, byteData%d, unicodeRanges%d, %d, unicodeData%d,"
                   " unicodeBlocks%d}," % (number, number, number, number, number, counts[number], number, number))
    out.append("};")
    out.append("")
    pairs = {}
    for page, names in NAMES.items():
        for name in names:
            h = hash_name(name)
            assert h not in pairs or pairs[h][1] == page, "two names of different pages share a hash: " + name
            pairs[h] = (name, page)
    out.append("const ZR_CHARSET_NAME g_ZRCharsetNames[ZR_CHARSET_NAME_COUNT] = {")
    for h in sorted(pairs):
        name, page = pairs[h]
        out.append("    {0x%08X, %d}, // %s" % (h, page, name))
    out.append("};")
    out.append("")
    out.append("static_assert(ZR_CHARSET_NAME_COUNT == %d, \"the charset-name count is generated\");" % len(pairs))
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
