0// old output
