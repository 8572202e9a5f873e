class MainClass {
    static void Main() {
    }
}
