0frame(Report){
};
int f() {
}
