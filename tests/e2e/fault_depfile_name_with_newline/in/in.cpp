BEGIN_FRAME_TEXT()
<#v=1
out.cpp:;touch INJ#>
END_FRAME_TEXT();
