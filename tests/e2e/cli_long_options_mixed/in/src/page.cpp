frame Page {
    void make() {
        BEGIN_FRAME_TEXT()
<#part.txt#><!x!>
        END_FRAME_TEXT();
    }
};
