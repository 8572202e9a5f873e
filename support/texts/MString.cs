//////////////////////////////////////////////////////////////////////
// MString.cs - string class, part of the frame preprocessor for C#
// Version 1.12
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
        return n.ToString();
    }

    public static String toString(long l)
    {
        return l.ToString();
    }

    public static String toString(char c)
    {
        return c.ToString();
    }

    public static String toString(float f)
    {
        return f.ToString();
    }

    public static String toString(double d)
    {
        return d.ToString();
    }

    public static String toString(String str)
    {
        return str;
    }

    public static String toString(bool b)
    {
        return b.ToString();
    }

    public static String toString(MString mstr)
    {
        return mstr.m_strSourceString;
    }

    public static String toString(MVantor mvantor)
    {
        return mvantor.getFrameText();
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

    public MString toUpper()
    {
        m_strSourceString = m_strSourceString.ToUpper();
        return this;
    }

    public MString toLower()
    {
        m_strSourceString = m_strSourceString.ToLower();
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