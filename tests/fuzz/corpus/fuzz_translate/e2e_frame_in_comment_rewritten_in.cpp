0// the frame of it
struct S {
};
