0BEGIN_FRAME_TEXT(FLAG_<!="{{" FLAG_!>="}}")
Hi {{name}}!
END_FRAME_TEXT()
