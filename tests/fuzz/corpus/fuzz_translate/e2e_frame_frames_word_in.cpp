0int n;
 frames {
};
