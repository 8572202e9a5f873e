// the frame of it
struct S {
};
