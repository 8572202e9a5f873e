2BEGIN_FRAME_TEXT(FLAG_<!="{{" FLAG_!>="}}")
{{a}}<!b!>
END_FRAME_TEXT();
BEGIN_FRAME_TEXT()
{{a}}<!b!>
END_FRAME_TEXT();
