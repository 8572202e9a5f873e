1BEGIN_FRAME_TEXT(FLAG_!>="%" FLAG_#>="%")
<!a%<#f.txt%
END_FRAME_TEXT();
