0BEGIN_FRAME_TEXT()
<! a +
  b !>
END_FRAME_TEXT();
