2BEGIN_FRAME_TEXT(flag_<!="[" flag_!>="]")
[x]<!y!>
END_FRAME_TEXT();
