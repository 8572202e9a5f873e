0BEGIN_FRAME_TEXT(FLAG_<!="["
FLAG_!>="]") ignored
A[x]B
END_FRAME_TEXT();
