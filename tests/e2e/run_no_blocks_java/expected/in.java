class A {}
