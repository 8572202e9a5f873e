frame A {
};
