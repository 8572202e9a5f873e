BEGIN_FRAME_TEXT()
<# dätä ✓.txt #>
END_FRAME_TEXT()
