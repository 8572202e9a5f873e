2// previous
