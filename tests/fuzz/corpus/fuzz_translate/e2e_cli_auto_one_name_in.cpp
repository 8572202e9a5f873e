3int x;
