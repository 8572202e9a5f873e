0	frame A {
};
Frame B {
};
FRAME C {
};
x=frame D {
};
