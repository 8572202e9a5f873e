0int a;
