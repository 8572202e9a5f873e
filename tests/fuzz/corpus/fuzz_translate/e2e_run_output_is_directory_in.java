1class A {}
