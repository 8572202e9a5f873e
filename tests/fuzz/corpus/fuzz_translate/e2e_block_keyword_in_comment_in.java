1// see BEGIN_FRAME_TEXT (old)
hello
// END_FRAME_TEXT done)
rest
