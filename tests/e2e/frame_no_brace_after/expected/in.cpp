x
frame Report
// no brace
