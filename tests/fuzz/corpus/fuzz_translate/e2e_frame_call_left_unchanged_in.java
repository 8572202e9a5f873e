1void g() {
  frame(x);
}
int h(int);
