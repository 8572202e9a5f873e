frame A {
};
frame B {
};
