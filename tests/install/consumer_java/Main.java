// message.txt is read when the tool runs, so a change to it must run the tool again.
frame Main {
    public void make(String strTitle) {
        BEGIN_FRAME_TEXT()
== <!strTitle!> ==
<#message.txt#>
        END_FRAME_TEXT();
    }

    public static void main(String[] args) {
        Main main = new Main();
        main.make("consumer");
        Counter counter = new Counter();
        counter.make(3);
        System.out.print(main.getFrameText() + counter.getFrameText() + "\n");
    }
}
