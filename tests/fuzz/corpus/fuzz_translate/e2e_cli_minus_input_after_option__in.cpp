0int x;
