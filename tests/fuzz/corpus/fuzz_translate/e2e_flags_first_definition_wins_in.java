1BEGIN_FRAME_TEXT(FLAG_<!="[" FLAG_<!="{" FLAG_!>="]")
{[x]
END_FRAME_TEXT();
