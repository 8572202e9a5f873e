gen/page.cpp: @CWD@/src/page.cpp @CWD@/part.txt

@CWD@/src/page.cpp:

@CWD@/part.txt:
