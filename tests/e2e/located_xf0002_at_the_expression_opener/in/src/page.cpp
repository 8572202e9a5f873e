BEGIN_FRAME_TEXT()
ok <!a!>
Hi <!name
END_FRAME_TEXT();
