2BEGIN_FRAME_TEXT(FLAG_<!=" <" FLAG_!>="> ")
a <x> b
END_FRAME_TEXT();
