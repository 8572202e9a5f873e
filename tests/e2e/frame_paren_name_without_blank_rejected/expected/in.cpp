frame(Report){
};
int f() {
}
