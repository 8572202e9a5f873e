int n;
 frames {
};
