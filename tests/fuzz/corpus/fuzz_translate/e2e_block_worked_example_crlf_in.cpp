0void show() {
    BEGIN_FRAME_TEXT()
Hi <!name!>!
    END_FRAME_TEXT();
}
