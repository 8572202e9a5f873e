BEGIN_FRAME_TEXT()
<#data/x.txt#>
END_FRAME_TEXT();
