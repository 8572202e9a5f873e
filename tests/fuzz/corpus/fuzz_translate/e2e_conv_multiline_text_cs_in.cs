2BEGIN_FRAME_TEXT()
line 1
<!n!> items
END_FRAME_TEXT();
