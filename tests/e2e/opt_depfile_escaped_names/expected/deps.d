my\ out.cpp: @CWD@/page.cpp @CWD@/a\ b.txt @CWD@/x\#y.txt @CWD@/d$$.txt

@CWD@/page.cpp:

@CWD@/a\ b.txt:

@CWD@/x\#y.txt:

@CWD@/d$$.txt:
