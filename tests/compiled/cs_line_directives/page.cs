// Errors on purpose: each must be reported at its line in this file.
frame Page : Base,
    Other {
    int m_nBad = undefinedAfterFrame;

    public void make(int nCount) {
        BEGIN_FRAME_TEXT()
Count <!nCount!>: <!nosuch!>
<#part.txt#>
        END_FRAME_TEXT();
        undefinedAfterBlock();
    }
}
