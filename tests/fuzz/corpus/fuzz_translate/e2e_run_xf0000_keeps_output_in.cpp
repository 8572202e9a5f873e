0int a;
BEGIN_FRAME_TEXT()
no end
