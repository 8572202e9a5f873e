int n;
BEGIN_FRAME_TEXT()
n=<!n!> <# W:\src\part.txt #>
END_FRAME_TEXT()
