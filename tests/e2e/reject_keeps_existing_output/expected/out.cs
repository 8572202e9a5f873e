// previous
