BEGIN_FRAME_TEXT()
<# data\n.txt #>
END_FRAME_TEXT()
