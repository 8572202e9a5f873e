// stale
