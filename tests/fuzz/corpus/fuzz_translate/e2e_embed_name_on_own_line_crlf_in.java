1BEGIN_FRAME_TEXT()
<#
  note.txt 
#>
END_FRAME_TEXT();
