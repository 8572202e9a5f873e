1BEGIN_FRAME_TEXT()
Text: <# note.txt #>
END_FRAME_TEXT();
