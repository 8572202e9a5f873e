//////////////////////////////////////////////////////////////////////
// MString.java - string class, part of the frame preprocessor for Java
// Version 1.11
// SPDX-License-Identifier: MIT-0
//
// MString holds a text and converts the values that frame texts embed.
// The text is bytes, one per character, as a block's text is: a value
// enters it as the bytes of its UTF-8 encoding, and getUnicodeText()
// reads the bytes back as UTF-8. Files are read and written one byte per
// character, so a file read and written back keeps every byte. XVantor
// writes this file beside the code it generates.
//////////////////////////////////////////////////////////////////////

import java.io.*;

public class MString {
    private static final String sm_pszID = "46c9e2b7-0f1a-4d83-b5e6-9a27d3c8f014";
    private static int sm_nCounter = 0;
    private int m_nObjectID;
    private String m_strSourceString = "";

    public MString() {
        m_nObjectID = sm_nCounter++;
    }

    public MString(String str) {
        m_nObjectID = sm_nCounter++;
        m_strSourceString = str;
    }

    // What a new MString holding str would be, for MVantor, whose text
    // object nobody else sees: the next object number and the text.
    void renew(String str) {
        m_nObjectID = sm_nCounter++;
        m_strSourceString = str;
    }

    public static String toString(int n) {
        return String.valueOf(n);
    }

    public static String toString(long l) {
        return String.valueOf(l);
    }

    public static String toString(char c) {
        return c < 0x80 ? String.valueOf(c) : toBytes(String.valueOf(c), false);
    }

    public static String toString(float f) {
        return String.valueOf(f);
    }

    // Whole numbers and sixteenths from 0.001 to 10^7, counts and prices
    // mostly, are written without the general conversion: all their digits
    // are exact, so the shortest text that reads back is all of them.
    public static String toString(double d) {
        double dSixteenths = Math.abs(d) * 16;
        long lSixteenths = (long) dSixteenths;
        if (dSixteenths >= 16e-3 && dSixteenths < 16e7 && lSixteenths == dSixteenths) {
            return sixteenths(d < 0, lSixteenths);
        }
        return String.valueOf(d);
    }

    private static String sixteenths(boolean bNegative, long lSixteenths) {
        char[] ach = new char[16];
        int nStart = ach.length;
        int nFraction = (int) (lSixteenths & 15) * 625;
        int nDigits = nFraction == 0 ? 1 : 4;
        for (; nFraction != 0 && nFraction % 10 == 0; nFraction /= 10) {
            nDigits--;
        }
        for (; nDigits > 0; nDigits--, nFraction /= 10) {
            ach[--nStart] = (char) ('0' + nFraction % 10);
        }
        ach[--nStart] = '.';
        long lWhole = lSixteenths >> 4;
        do {
            ach[--nStart] = (char) ('0' + lWhole % 10);
            lWhole /= 10;
        } while (lWhole != 0);
        if (bNegative) {
            ach[--nStart] = '-';
        }
        return new String(ach, nStart, ach.length - nStart);
    }

    public static String toString(String str) {
        return toBytes(str, false);
    }

    // Every other value prints as string conversion prints it, null as
    // "null"; an MString or a frame object prints its text. One overload for
    // them all leaves String the most specific, so a null literal compiles.
    public static String toString(Object o) {
        if (o instanceof MString) {
            return ((MString) o).m_strSourceString;
        }
        if (o instanceof MVantor) {
            return ((MVantor) o).getFrameText();
        }
        return toBytes(String.valueOf(o), false);
    }

    public static String toString(boolean b) {
        return String.valueOf(b);
    }

    //////////////////////////////////////////////////////////////////
    // Escapers of values in blocks with FLAG_ESCAPE
    //
    // Generated code calls the escaper that the value's place asks for with
    // the value itself: escapeHtml(value) for a text, quoteJs(value) where a
    // JS or JSON value stands, so that a number stays a number there (null
    // when it is none, such as NaN) and null is null. Each escaper takes
    // what toString takes and escapes the bytes that toString gives: every
    // byte from 0x80 on passes unchanged, except where a URL needs it
    // percent-encoded. A text that needs no escape is returned as it is, and
    // the text of a number or a truth value is never looked at, since no
    // escaper changes its characters.

    public static String escapeHtml(String str) { return escapeValue(str, 0); }
    public static String escapeHtml(Object o) { return escape(toString(o), 0); }
    public static String escapeHtml(char c) { return escape(toString(c), 0); }
    public static String escapeHtml(int n) { return plain(toString(n), 0); }
    public static String escapeHtml(long l) { return plain(toString(l), 0); }
    public static String escapeHtml(float f) { return plain(toString(f), 0); }
    public static String escapeHtml(double d) { return plain(toString(d), 0); }
    public static String escapeHtml(boolean b) { return plain(toString(b), 0); }
    public static String escapeHtmlUnquoted(String str) { return escapeValue(str, 1); }
    public static String escapeHtmlUnquoted(Object o) { return escape(toString(o), 1); }
    public static String escapeHtmlUnquoted(char c) { return escape(toString(c), 1); }
    public static String escapeHtmlUnquoted(int n) { return plain(toString(n), 1); }
    public static String escapeHtmlUnquoted(long l) { return plain(toString(l), 1); }
    public static String escapeHtmlUnquoted(float f) { return plain(toString(f), 1); }
    public static String escapeHtmlUnquoted(double d) { return plain(toString(d), 1); }
    public static String escapeHtmlUnquoted(boolean b) { return plain(toString(b), 1); }
    public static String quoteHtml(String str) { return escapeValue(str, 2); }
    public static String quoteHtml(Object o) { return escape(toString(o), 2); }
    public static String quoteHtml(char c) { return escape(toString(c), 2); }
    public static String quoteHtml(int n) { return plain(toString(n), 2); }
    public static String quoteHtml(long l) { return plain(toString(l), 2); }
    public static String quoteHtml(float f) { return plain(toString(f), 2); }
    public static String quoteHtml(double d) { return plain(toString(d), 2); }
    public static String quoteHtml(boolean b) { return plain(toString(b), 2); }
    public static String escapeUrl(String str) { return escapeValue(str, 3); }
    public static String escapeUrl(Object o) { return escape(toString(o), 3); }
    public static String escapeUrl(char c) { return escape(toString(c), 3); }
    public static String escapeUrl(int n) { return plain(toString(n), 3); }
    public static String escapeUrl(long l) { return plain(toString(l), 3); }
    public static String escapeUrl(float f) { return plain(toString(f), 3); }
    public static String escapeUrl(double d) { return plain(toString(d), 3); }
    public static String escapeUrl(boolean b) { return plain(toString(b), 3); }
    public static String escapeUrlPart(String str) { return escapeValue(str, 4); }
    public static String escapeUrlPart(Object o) { return escape(toString(o), 4); }
    public static String escapeUrlPart(char c) { return escape(toString(c), 4); }
    public static String escapeUrlPart(int n) { return plain(toString(n), 4); }
    public static String escapeUrlPart(long l) { return plain(toString(l), 4); }
    public static String escapeUrlPart(float f) { return plain(toString(f), 4); }
    public static String escapeUrlPart(double d) { return plain(toString(d), 4); }
    public static String escapeUrlPart(boolean b) { return plain(toString(b), 4); }
    public static String escapeJsString(String str) { return escapeValue(str, 5); }
    public static String escapeJsString(Object o) { return escape(toString(o), 5); }
    public static String escapeJsString(char c) { return escape(toString(c), 5); }
    public static String escapeJsString(int n) { return plain(toString(n), 5); }
    public static String escapeJsString(long l) { return plain(toString(l), 5); }
    public static String escapeJsString(float f) { return plain(toString(f), 5); }
    public static String escapeJsString(double d) { return plain(toString(d), 5); }
    public static String escapeJsString(boolean b) { return plain(toString(b), 5); }
    public static String escapeJsonString(String str) { return escapeValue(str, 8); }
    public static String escapeJsonString(Object o) { return escape(toString(o), 8); }
    public static String escapeJsonString(char c) { return escape(toString(c), 8); }
    public static String escapeJsonString(int n) { return plain(toString(n), 8); }
    public static String escapeJsonString(long l) { return plain(toString(l), 8); }
    public static String escapeJsonString(float f) { return plain(toString(f), 8); }
    public static String escapeJsonString(double d) { return plain(toString(d), 8); }
    public static String escapeJsonString(boolean b) { return plain(toString(b), 8); }

    public static String quoteJs(String str) { return quote(str, 6); }
    public static String quoteJs(Object o) { return quote(o, 6); }
    public static String quoteJs(char c) { return quote(toString(c), 6); }
    public static String quoteJs(int n) { return String.valueOf(n); }
    public static String quoteJs(long l) { return String.valueOf(l); }
    public static String quoteJs(float f) { return number(String.valueOf(f)); }
    public static String quoteJs(double d) { return number(String.valueOf(d)); }
    public static String quoteJsAttribute(String str) { return quote(str, 7); }
    public static String quoteJsAttribute(Object o) { return quote(o, 7); }
    public static String quoteJsAttribute(char c) { return quote(toString(c), 7); }
    public static String quoteJsAttribute(int n) { return String.valueOf(n); }
    public static String quoteJsAttribute(long l) { return String.valueOf(l); }
    public static String quoteJsAttribute(float f) { return number(String.valueOf(f)); }
    public static String quoteJsAttribute(double d) { return number(String.valueOf(d)); }
    public static String quoteJson(String str) { return quote(str, 9); }
    public static String quoteJson(Object o) { return quote(o, 9); }
    public static String quoteJson(char c) { return quote(toString(c), 9); }
    public static String quoteJson(int n) { return String.valueOf(n); }
    public static String quoteJson(long l) { return String.valueOf(l); }
    public static String quoteJson(float f) { return number(String.valueOf(f)); }
    public static String quoteJson(double d) { return number(String.valueOf(d)); }

    private static String quote(Object o, int nEscaper) {
        if (o == null) {
            return "null";
        }
        if (o instanceof Number || o instanceof Boolean) {
            return number(String.valueOf(o));
        }
        return escape(toString(o), nEscaper);
    }

    // A JSON number as Java prints it, or null for the infinities and NaN.
    private static String number(String str) {
        int i = str.startsWith("-") ? 1 : 0;
        boolean bDigit = i < str.length() && str.charAt(i) >= '0' && str.charAt(i) <= '9';
        return bDigit || str.equals("true") || str.equals("false") ? str : "null";
    }

    // Only http, https and mailto, or a URL without a scheme; browsers drop
    // blanks and control characters in a scheme.
    private static boolean isSafeUrl(String str) {
        StringBuilder sbScheme = new StringBuilder();
        for (int i = 0; i < str.length(); i++) {
            char c = str.charAt(i);
            if (c == '/' || c == '?' || c == '#') {
                return true;
            }
            if (c == ':') {
                String strScheme = sbScheme.toString().toLowerCase(java.util.Locale.ROOT);
                return strScheme.equals("http") || strScheme.equals("https")
                    || strScheme.equals("mailto");
            }
            if (c > ' ' && c != 0x7f) {
                sbScheme.append(c);
            }
        }
        return true;
    }

    private static final String HEX = "0123456789ABCDEF";

    // The text of a number or a truth value, quoted where the escaper quotes
    // the whole value.
    private static String plain(String str, int nEscaper) {
        return nEscaper == 2 ? "\"" + str + "\"" : str;
    }

    // For each escaper, the ASCII characters that may not stay as they are;
    // escapeOf is asked only about those and about the bytes from 0x80 on.
    // The JSON escapers' "/" is one: it is escaped after "<".
    private static final boolean[][] sm_aabEscaped = escapedCharacters();

    private static boolean[][] escapedCharacters() {
        boolean[][] aabEscaped = new boolean[10][0x80];
        for (int nEscaper = 0; nEscaper < aabEscaped.length; nEscaper++) {
            for (int c = 0; c < 0x80; c++) {
                aabEscaped[nEscaper][c] = nEscaper >= 8 && c == '/'
                    || !escapeOf(String.valueOf((char) c), 0, nEscaper).isEmpty();
            }
        }
        return aabEscaped;
    }

    // The length of the start of str that is ASCII which the escaper keeps.
    private static int keptLength(String str, int nEscaper) {
        boolean[] abEscaped = sm_aabEscaped[nEscaper];
        int nLength = str.length();
        int i = 0;
        while (i < nLength && str.charAt(i) < 0x80 && !abEscaped[str.charAt(i)]) {
            i++;
        }
        return i;
    }

    // A text value: one scan finds that it is ASCII, which toString would
    // return as it is, and that the escaper keeps it.
    private static String escapeValue(String str, int nEscaper) {
        if (str != null && nEscaper != 2 && keptLength(str, nEscaper) == str.length()) {
            return nEscaper == 3 && !isSafeUrl(str) ? "#" : str;
        }
        return escape(toString(str), nEscaper);
    }

    private static String escape(String str, int nEscaper) {
        if (str == null) {
            str = "null";
        }
        if (nEscaper == 3 && !isSafeUrl(str)) {
            return "#";
        }
        int nLength = str.length();
        boolean bQuoted = nEscaper == 2 || nEscaper == 6 || nEscaper == 7 || nEscaper == 9;
        int i = keptLength(str, nEscaper);
        if (!bQuoted && i == nLength) {
            return str;
        }
        String strQuote = nEscaper == 2 || nEscaper == 6 || nEscaper == 9 ? "\"" : "&#34;";
        StringBuilder sb = new StringBuilder(nLength + 16);
        if (bQuoted) {
            sb.append(strQuote);
        }
        boolean[] abEscaped = sm_aabEscaped[nEscaper];
        int nKept = 0;  // where the characters that stay begin
        for (; i < nLength; i++) {
            char c = str.charAt(i);
            String strEscape = c < 0x80 && !abEscaped[c] ? "" : escapeOf(str, i, nEscaper);
            if (strEscape.isEmpty()) {
                continue;
            }
            sb.append(str, nKept, i).append(strEscape);
            // A sequence of several bytes went into one escape.
            int nByte = c & 0xff;
            if (nByte >= 0xc2 && nEscaper != 3 && nEscaper != 4) {
                i += nByte >= 0xe0 ? 2 : 1;
            }
            nKept = i + 1;
        }
        sb.append(str, nKept, nLength);
        if (bQuoted) {
            sb.append(strQuote);
        }
        return sb.toString();
    }

    // The code point of the UTF-8 space at i that lenient HTML parsers end
    // an unquoted value at, or 0.
    private static int unicodeSpace(String str, int i) {
        int c0 = str.charAt(i) & 0xff;
        int c1 = i + 1 < str.length() ? str.charAt(i + 1) & 0xff : 0;
        if (c0 == 0xc2 && (c1 == 0x85 || c1 == 0xa0)) {
            return c1;
        }
        int c2 = i + 2 < str.length() ? str.charAt(i + 2) & 0xff : 0;
        if ((c0 & 0xf0) != 0xe0 || (c1 & 0xc0) != 0x80 || (c2 & 0xc0) != 0x80) {
            return 0;
        }
        int nCode = (c0 & 0x0f) << 12 | (c1 & 0x3f) << 6 | c2 & 0x3f;
        boolean bSpace = nCode == 0x1680 || nCode >= 0x2000 && nCode <= 0x200a
            || nCode == 0x2028 || nCode == 0x2029 || nCode == 0x202f || nCode == 0x205f
            || nCode == 0x3000;
        return bSpace ? nCode : 0;
    }

    // What the character at i becomes, or "" when it stays.
    private static String escapeOf(String str, int i, int nEscaper) {
        int c = str.charAt(i) & 0xff;
        if (nEscaper <= 2) {
            switch (c) {
            case '&': return "&amp;";
            case '<': return "&lt;";
            case '>': return "&gt;";
            case '"': return "&#34;";
            case '\'': return "&#39;";
            default:
                if (nEscaper == 1 && (c <= ' ' || c == '`' || c == '=')) {
                    return "&#" + c + ";";
                }
                int nSpace = nEscaper == 1 && c >= 0xc2 ? unicodeSpace(str, i) : 0;
                return nSpace != 0 ? "&#" + nSpace + ";" : "";
            }
        }
        if (nEscaper <= 4) {
            if (c >= 'a' && c <= 'z' || c >= 'A' && c <= 'Z' || c >= '0' && c <= '9'
                || "-._~".indexOf(c) >= 0) {
                return "";
            }
            if (nEscaper == 4 || c <= ' ' || c >= 0x7f || ":/?#[]@!$&'()*+,;=%".indexOf(c) < 0) {
                return "%" + HEX.charAt(c >> 4) + HEX.charAt(c & 15);
            }
            return c == '&' ? "&amp;" : c == '\'' ? "&#39;" : "";
        }
        boolean bJson = nEscaper >= 8;
        if (c == 0xe2 && i + 2 < str.length() && (str.charAt(i + 1) & 0xff) == 0x80
            && (str.charAt(i + 2) & 0xfe) == 0xa8) {
            return (str.charAt(i + 2) & 0xff) == 0xa8 ? "\\u2028" : "\\u2029";
        }
        switch (c) {
        case '\\': return "\\\\";
        case '\n': return "\\n";
        case '\r': return "\\r";
        case '\t': return "\\t";
        default:
            break;
        }
        if (bJson && c == '"') {
            return "\\\"";
        }
        if (bJson && c == '/' && i > 0 && str.charAt(i - 1) == '<') {
            return "\\/";
        }
        if (c < ' ' || !bJson && (c == 0x7f || "\"'`<>&".indexOf(c) >= 0)) {
            return "\\u00" + HEX.charAt(c >> 4) + HEX.charAt(c & 15);
        }
        return "";
    }

    // The text's bytes read as UTF-8, a broken sequence as U+FFFD: the text
    // as a reader sees it, for printing.
    public String getUnicodeText() {
        return new String(getBytes(), java.nio.charset.StandardCharsets.UTF_8);
    }

    public boolean isEmpty() {
        return m_strSourceString.length() == 0;
    }

    public boolean compare(MString mstr) {
        return m_strSourceString.equals(mstr.m_strSourceString);
    }

    public boolean compare(String str) {
        return m_strSourceString.equals(str);
    }

    // The root locale, so that a document reads the same on every machine.
    public MString toUpper() {
        return mapCase(true);
    }

    public MString toLower() {
        return mapCase(false);
    }

    // UTF-8 text is mapped as the characters it encodes, so that no byte of a
    // sequence is mapped on its own; other bytes as their own characters.
    private MString mapCase(boolean bUpper) {
        String str = m_strSourceString;
        try {
            str = java.nio.charset.StandardCharsets.UTF_8.newDecoder()
                      .decode(java.nio.ByteBuffer.wrap(getBytes())).toString();
            str = toBytes(bUpper ? str.toUpperCase(java.util.Locale.ROOT)
                                 : str.toLowerCase(java.util.Locale.ROOT), false);
        } catch (java.nio.charset.CharacterCodingException e) {
            str = bUpper ? str.toUpperCase(java.util.Locale.ROOT)
                         : str.toLowerCase(java.util.Locale.ROOT);
        }
        m_strSourceString = str;
        return this;
    }

    public long length() {
        return m_strSourceString.length();
    }

    public String getClassID() {
        return sm_pszID;
    }

    public String getObjectID() {
        return sm_pszID + m_nObjectID;
    }

    public String getClassName() {
        return "MString";
    }

    public MString importFromFile(String strFileName) {
        try {
            RandomAccessFile file = new RandomAccessFile(strFileName, "r");
            try {
                byte[] abyData = new byte[(int) file.length()];
                file.read(abyData);
                // A byte widens with its sign: 0x80 to 0xFF become U+FF80 to
                // U+FFFF, whose low 8 bits export writes back unchanged.
                StringBuilder sb = new StringBuilder(abyData.length);
                for (int i = 0; i < abyData.length; i++) {
                    sb.append((char) abyData[i]);
                }
                m_strSourceString = sb.toString();
            } finally {
                file.close();
            }
        } catch (IOException e) {
            e.printStackTrace();
        }
        return this;
    }

    public MString exportToFile(String strFileName) {
        try {
            // Mode "rw" alone keeps the tail of a longer old file: the
            // writer empties it first.
            new FileWriter(strFileName).close();
            RandomAccessFile file = new RandomAccessFile(strFileName, "rw");
            try {
                file.write(getBytes());
            } finally {
                file.close();
            }
        } catch (IOException e) {
            e.printStackTrace();
        }
        return this;
    }

    public MString exportToFile(MString mstrFileName) {
        return exportToFile(toString(mstrFileName));
    }

    // A character that is a byte is kept: 0 to 0xFF, and in the text also
    // U+FF80 to U+FFFF, which import makes of the bytes 0x80 to 0xFF. Any
    // other character becomes the bytes of its UTF-8 encoding (a lone
    // surrogate those of U+FFFD), so that nothing is cut to its low 8 bits.
    // A value keeps only ASCII, so that it agrees with UTF-8 block text; an
    // ASCII value is returned as it is.
    private static String toBytes(String str, boolean bText) {
        if (str == null) {
            return null;
        }
        int nLength = str.length();
        int i = 0;
        while (i < nLength && isByte(str.charAt(i), bText)) {
            i++;
        }
        if (i == nLength) {
            return str;
        }
        StringBuilder sb = new StringBuilder(nLength + 16);
        sb.append(str, 0, i);
        for (; i < nLength; i++) {
            int c = str.charAt(i);
            if (isByte((char) c, bText)) {
                sb.append((char) c);
                continue;
            }
            if (c < 0x800) {
                sb.append((char) (0xc0 | c >> 6));
            } else {
                if (Character.isHighSurrogate((char) c) && i + 1 < nLength
                    && Character.isLowSurrogate(str.charAt(i + 1))) {
                    c = Character.toCodePoint((char) c, str.charAt(++i));
                    sb.append((char) (0xf0 | c >> 18));
                    sb.append((char) (0x80 | (c >> 12 & 0x3f)));
                } else {
                    if (Character.isSurrogate((char) c)) {
                        c = 0xfffd;
                    }
                    sb.append((char) (0xe0 | c >> 12));
                }
                sb.append((char) (0x80 | (c >> 6 & 0x3f)));
            }
            sb.append((char) (0x80 | (c & 0x3f)));
        }
        return sb.toString();
    }

    private static boolean isByte(char c, boolean bText) {
        return c < 0x80 || bText && (c <= 0xff || c >= 0xff80);
    }

    private byte[] getBytes() {
        String str = toBytes(m_strSourceString, true);
        byte[] abyData = new byte[str.length()];
        for (int i = 0; i < abyData.length; i++) {
            abyData[i] = (byte) str.charAt(i);
        }
        return abyData;
    }
}