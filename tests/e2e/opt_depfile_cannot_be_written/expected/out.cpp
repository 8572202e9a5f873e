// old output
