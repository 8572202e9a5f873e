// mine
