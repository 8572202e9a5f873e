int f(int n) {
    BEGIN_FRAME_TEXT()
    Hi<!n !> !<#a b.txt #> END_FRAME_TEXT();
}
frame X {
    int y = 3;
};
