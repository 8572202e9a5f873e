2BEGIN_FRAME_TEXT(FLAG_#>="]]", FLAG_<#="[[")
x[[ f.txt ]]
END_FRAME_TEXT();
