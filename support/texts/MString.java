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