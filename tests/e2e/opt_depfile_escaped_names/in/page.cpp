// Embedded names that a depfile must escape, one of them twice and one spelled twice.
BEGIN_FRAME_TEXT()
<#a b.txt#>|<#x#y.txt#>|<#d$.txt#>|<#a b.txt#>|<#./x#y.txt#>
END_FRAME_TEXT();
