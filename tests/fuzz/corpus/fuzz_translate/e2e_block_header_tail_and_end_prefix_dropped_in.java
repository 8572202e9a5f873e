1x();
BEGIN_FRAME_TEXT(); // comment
abc
    // x END_FRAME_TEXT() ; tail
y();
