// Errors on purpose: javac must report each at its line in this file, which the output
// keeps with --line-directives: a plain block, a declaration over two lines.
frame Page
    extends Nothing {
    int m_nBad = undefinedAfterFrame;

    public void make(int nCount) {
        BEGIN_FRAME_TEXT()
Count <!nCount!>: <!
nosuch!>
<#part.txt#>
 and <!nosuch2!>
        END_FRAME_TEXT();
        undefinedAfterBlock();
    }
}

class Main {
    public static void main(String[] args) {
    }
}
