int a;
int b;
  BEGIN_FRAME_TEXT()
no end
