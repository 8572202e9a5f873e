2BEGIN_FRAME_TEXT()
<# my file.txt #>
END_FRAME_TEXT();
