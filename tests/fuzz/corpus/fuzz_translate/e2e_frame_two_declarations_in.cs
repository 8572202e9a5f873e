2frame A {
};
frame B {
};
