0frame(Report){
};
struct S {
};
