frame(Report){
};
struct S {
};
