// a header of the user
