x
BEGIN_FRAME_TEXT()
Text: <#missing.txt#>
END_FRAME_TEXT();
