2class A {}
