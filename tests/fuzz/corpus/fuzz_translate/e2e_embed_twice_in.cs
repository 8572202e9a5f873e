2BEGIN_FRAME_TEXT()
<#n.txt#>-<#n.txt#>
END_FRAME_TEXT();
