1class A {}
