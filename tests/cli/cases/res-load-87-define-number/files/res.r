old r
