//////////////////////////////////////////////////////////////////////
// MVantor.cs - frame base class, part of the frame preprocessor for C#
// Version 1.08
// SPDX-License-Identifier: MIT-0
//
// Every frame class derives from MVantor. Each frame-text block in a
// member function becomes a call of setFrameText, so the object holds
// the text of the block that ran last. XVantor writes this file beside
// the code it generates.
//////////////////////////////////////////////////////////////////////

using System;

public class MVantor
{
    private static readonly String sm_pszID = "7e41b9a0-3c6d-4a27-9f85-e0d2c16b8a73";
    private static int sm_nCounter = 0;
    private int m_nObjectID;
    private MString m_mstrFrameText;

    public MVantor()
    {
        m_nObjectID = sm_nCounter++;
        m_mstrFrameText = new MString();
    }

    public String getFrameText()
    {
        return MString.toString(m_mstrFrameText);
    }

    public String getUnicodeText()
    {
        return m_mstrFrameText.getUnicodeText();
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
        return "MVantor";
    }

    public MVantor exportToFile(String strFileName)
    {
        m_mstrFrameText.exportToFile(strFileName);
        return this;
    }

    public MVantor exportToFile(MString mstrFileName)
    {
        m_mstrFrameText.exportToFile(mstrFileName);
        return this;
    }

    public MVantor importFromFile(String strFileName)
    {
        m_mstrFrameText.importFromFile(strFileName);
        return this;
    }

    public String setFrameText(String str)
    {
        m_mstrFrameText.renew(str);
        return str;
    }

    public long length()
    {
        return m_mstrFrameText.length();
    }
}