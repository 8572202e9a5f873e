//////////////////////////////////////////////////////////////////////
// MString.java - string class, part of the frame preprocessor for Java
// Version 1.11
// SPDX-License-Identifier: MIT-0
//
// MString holds a text and converts the values that frame texts embed.
// Files are read and written one byte per character, so a file read
// and written back keeps every byte. XVantor writes this file beside
// the code it generates.
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

    public static String toString(int n) {
        return String.valueOf(n);
    }

    public static String toString(long l) {
        return String.valueOf(l);
    }

    public static String toString(char c) {
        return String.valueOf(c);
    }

    public static String toString(float f) {
        return String.valueOf(f);
    }

    public static String toString(double d) {
        return String.valueOf(d);
    }

    public static String toString(String str) {
        return str;
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
        return String.valueOf(o);
    }

    public static String toString(boolean b) {
        return String.valueOf(b);
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
        m_strSourceString = m_strSourceString.toUpperCase(java.util.Locale.ROOT);
        return this;
    }

    public MString toLower() {
        m_strSourceString = m_strSourceString.toLowerCase(java.util.Locale.ROOT);
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
                byte[] abyData = new byte[m_strSourceString.length()];
                for (int i = 0; i < abyData.length; i++) {
                    abyData[i] = (byte) m_strSourceString.charAt(i);
                }
                file.write(abyData);
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
}