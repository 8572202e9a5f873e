0x
frame Report
// no brace
