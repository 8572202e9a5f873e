old output
