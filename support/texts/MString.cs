//////////////////////////////////////////////////////////////////////
// MString.cs - string class, part of the frame preprocessor for C#
// Version 1.12
// SPDX-License-Identifier: MIT-0
//
// MString holds a text and converts the values that frame texts embed.
// The text is bytes, one per character, as a block's text is: a value
// enters it as the bytes of its UTF-8 encoding, and getUnicodeText()
// reads the bytes back as UTF-8. Files are read and written one byte per
// character, so a file read and written back keeps every byte. XVantor
// writes this file beside the code it generates.
//////////////////////////////////////////////////////////////////////

using System;
using System.IO;

public class MString
{
    private static readonly String sm_pszID = "a3f6d018-5e92-4c7b-8d40-b19e27f5c6a8";
    private static int sm_nCounter = 0;
    private int m_nObjectID;
    private String m_strSourceString = "";

    public MString()
    {
        m_nObjectID = sm_nCounter++;
    }

    public MString(String str)
    {
        m_nObjectID = sm_nCounter++;
        m_strSourceString = str;
    }

    // What a new MString holding str would be, for MVantor, whose text
    // object nobody else sees: the next object number and the text.
    internal void renew(String str)
    {
        m_nObjectID = sm_nCounter++;
        m_strSourceString = str;
    }

    public static String toString(int n)
    {
        return n.ToString(System.Globalization.CultureInfo.InvariantCulture);
    }

    public static String toString(long l)
    {
        return l.ToString(System.Globalization.CultureInfo.InvariantCulture);
    }

    public static String toString(char c)
    {
        return c < 0x80 ? c.ToString() : toBytes(c.ToString(), false);
    }

    public static String toString(float f)
    {
        return f.ToString(System.Globalization.CultureInfo.InvariantCulture);
    }

    // Whole numbers and sixteenths from 0.001 to 10^7, counts and prices
    // mostly, are written without the general conversion: all their digits
    // are exact, so the shortest text that reads back is all of them.
    public static String toString(double d)
    {
        double dSixteenths = Math.Abs(d) * 16;
        long lSixteenths = (long) dSixteenths;
        if (dSixteenths >= 16e-3 && dSixteenths < 16e7 && lSixteenths == dSixteenths)
        {
            return sixteenths(d < 0, lSixteenths);
        }
        return d.ToString(System.Globalization.CultureInfo.InvariantCulture);
    }

    private static String sixteenths(bool bNegative, long lSixteenths)
    {
        char[] ach = new char[16];
        int nStart = ach.Length;
        int nFraction = (int) (lSixteenths & 15) * 625;
        if (nFraction != 0)
        {
            int nDigits = 4;
            for (; nFraction % 10 == 0; nFraction /= 10)
            {
                nDigits--;
            }
            for (; nDigits > 0; nDigits--, nFraction /= 10)
            {
                ach[--nStart] = (char) ('0' + nFraction % 10);
            }
            ach[--nStart] = '.';
        }
        long lWhole = lSixteenths >> 4;
        do
        {
            ach[--nStart] = (char) ('0' + lWhole % 10);
            lWhole /= 10;
        } while (lWhole != 0);
        if (bNegative)
        {
            ach[--nStart] = '-';
        }
        return new String(ach, nStart, ach.Length - nStart);
    }

    public static String toString(String str)
    {
        return toBytes(str, false);
    }

    public static String toString(bool b)
    {
        return b.ToString();
    }

    // Without these two a uint or a ulong would go to the float overload.
    public static String toString(uint u)
    {
        return u.ToString(System.Globalization.CultureInfo.InvariantCulture);
    }

    public static String toString(ulong lu)
    {
        return lu.ToString(System.Globalization.CultureInfo.InvariantCulture);
    }

    public static String toString(decimal m)
    {
        return m.ToString(System.Globalization.CultureInfo.InvariantCulture);
    }

    // Every other value (enums, nullables, dates, builders) prints as
    // ToString() does in the invariant culture, null as the empty text; an
    // MString or a frame object prints its text. One overload for them all
    // leaves String the most specific, so a null literal compiles.
    public static String toString(Object o)
    {
        if (o == null)
        {
            return "";
        }
        if (o is MString)
        {
            return ((MString) o).m_strSourceString;
        }
        if (o is MVantor)
        {
            return ((MVantor) o).getFrameText();
        }
        if (o is IFormattable)
        {
            String str = ((IFormattable) o).ToString(null, System.Globalization.CultureInfo.InvariantCulture);
            return toBytes(str, false);
        }
        return toBytes(o.ToString() ?? "", false);
    }

    public long length()
    {
        return m_strSourceString.Length;
    }

    // The text's bytes read as UTF-8, a broken sequence as U+FFFD: the text
    // as a reader sees it, for printing.
    public String getUnicodeText()
    {
        return new System.Text.UTF8Encoding(false, false).GetString(getBytes());
    }

    public bool isEmpty()
    {
        return m_strSourceString.Length == 0;
    }

    public bool compare(MString mstr)
    {
        return m_strSourceString == mstr.m_strSourceString;
    }

    public bool compare(String str)
    {
        return m_strSourceString == str;
    }

    // The invariant culture, so that a document reads the same on every
    // machine: under tr-TR "i" would become a dotted capital.
    public MString toUpper()
    {
        return mapCase(true);
    }

    public MString toLower()
    {
        return mapCase(false);
    }

    // UTF-8 text is mapped as the characters it encodes, so that no byte of a
    // sequence is mapped on its own; other bytes as their own characters.
    private MString mapCase(bool bUpper)
    {
        String str = m_strSourceString;
        try
        {
            str = new System.Text.UTF8Encoding(false, true).GetString(getBytes());
            str = toBytes(bUpper ? str.ToUpperInvariant() : str.ToLowerInvariant(), false);
        }
        catch (ArgumentException)
        {
            str = bUpper ? str.ToUpperInvariant() : str.ToLowerInvariant();
        }
        m_strSourceString = str;
        return this;
    }

    public String getClassID()
    {
        return sm_pszID;
    }

    public String getObjectID()
    {
        return sm_pszID + m_nObjectID;
    }

    public String getClassName()
    {
        return "MString";
    }

    // The file's bytes are appended: the current text is kept in front.
    public MString importFromFile(String strFileName)
    {
        try
        {
            FileStream stream = new FileStream(strFileName, FileMode.Open, FileAccess.Read);
            BinaryReader reader = new BinaryReader(stream);
            byte[] abyData = reader.ReadBytes((int) stream.Length);
            reader.Close();
            char[] achData = new char[abyData.Length];
            for (int i = 0; i < abyData.Length; i++)
            {
                achData[i] = (char) abyData[i];
            }
            m_strSourceString += new String(achData);
        }
        catch (Exception e)
        {
            Console.WriteLine(e.Message);
        }
        return this;
    }

    public MString exportToFile(String strFileName)
    {
        byte[] abyData = getBytes();
        try
        {
            FileStream stream = new FileStream(strFileName, FileMode.Create);
            BinaryWriter writer = new BinaryWriter(stream);
            // A failed write is reported on its own, so that the file is
            // still closed below.
            try
            {
                writer.Write(abyData);
            }
            catch (Exception eWrite)
            {
                Console.WriteLine(eWrite.Message);
            }
            writer.Close();
        }
        catch (Exception e)
        {
            Console.WriteLine(e.Message);
        }
        return this;
    }

    public MString exportToFile(MString mstrFileName)
    {
        return exportToFile(toString(mstrFileName));
    }

    // A character that is a byte is kept: in the text 0 to 0xFF, in a value
    // only ASCII, so that it agrees with UTF-8 block text. Any other character
    // becomes the bytes of its UTF-8 encoding (a lone surrogate those of
    // U+FFFD), so that nothing is cut to its low 8 bits. An ASCII value is
    // returned as it is.
    private static String toBytes(String str, bool bText)
    {
        // A null string is returned as it is. The test looks at a copy, so
        // that the nullable checks of newer compilers do not flag the return.
        Object oStr = str;
        if (oStr == null)
        {
            return str;
        }
        int nLimit = bText ? 0x100 : 0x80;
        int nLength = str.Length;
        int i = 0;
        while (i < nLength && str[i] < nLimit)
        {
            i++;
        }
        if (i == nLength)
        {
            return str;
        }
        System.Text.StringBuilder sb = new System.Text.StringBuilder(str, 0, i, nLength + 16);
        for (; i < nLength; i++)
        {
            int c = str[i];
            if (c < nLimit)
            {
                sb.Append((char) c);
                continue;
            }
            if (c < 0x800)
            {
                sb.Append((char) (0xc0 | c >> 6));
            }
            else
            {
                if (Char.IsHighSurrogate((char) c) && i + 1 < nLength
                    && Char.IsLowSurrogate(str[i + 1]))
                {
                    c = Char.ConvertToUtf32((char) c, str[++i]);
                    sb.Append((char) (0xf0 | c >> 18));
                    sb.Append((char) (0x80 | (c >> 12 & 0x3f)));
                }
                else
                {
                    if (Char.IsSurrogate((char) c))
                    {
                        c = 0xfffd;
                    }
                    sb.Append((char) (0xe0 | c >> 12));
                }
                sb.Append((char) (0x80 | (c >> 6 & 0x3f)));
            }
            sb.Append((char) (0x80 | (c & 0x3f)));
        }
        return sb.ToString();
    }

    private byte[] getBytes()
    {
        String str = toBytes(m_strSourceString, true);
        byte[] abyData = new byte[str.Length];
        for (int i = 0; i < abyData.Length; i++)
        {
            abyData[i] = (byte) str[i];
        }
        return abyData;
    }
}