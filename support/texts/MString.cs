//////////////////////////////////////////////////////////////////////
// MString.cs - string class, part of the frame preprocessor for C#
// Version 1.12
// SPDX-License-Identifier: MIT-0
//
// MString holds a text and converts the values that frame texts embed.
// Files are read and written one byte per character, so a file read
// and written back keeps every byte. XVantor writes this file beside
// the code it generates.
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
        return c.ToString();
    }

    public static String toString(float f)
    {
        return f.ToString(System.Globalization.CultureInfo.InvariantCulture);
    }

    public static String toString(double d)
    {
        return d.ToString(System.Globalization.CultureInfo.InvariantCulture);
    }

    public static String toString(String str)
    {
        return str;
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
            return ((IFormattable) o).ToString(null, System.Globalization.CultureInfo.InvariantCulture);
        }
        return o.ToString();
    }

    public long length()
    {
        return m_strSourceString.Length;
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
        m_strSourceString = m_strSourceString.ToUpperInvariant();
        return this;
    }

    public MString toLower()
    {
        m_strSourceString = m_strSourceString.ToLowerInvariant();
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
        byte[] abyData = new byte[m_strSourceString.Length];
        for (int i = 0; i < abyData.Length; i++)
        {
            abyData[i] = (byte) (m_strSourceString[i] & 0xff);
        }
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
}