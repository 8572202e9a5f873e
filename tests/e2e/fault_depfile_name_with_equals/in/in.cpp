int a;
BEGIN_FRAME_TEXT()
hello <#eq=ual.txt#>
END_FRAME_TEXT();
