gen/out.cpp: @CWD@/src/in.cpp @CWD@/part.txt

@CWD@/src/in.cpp:

@CWD@/part.txt:
